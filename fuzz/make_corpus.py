#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets into fuzz/corpus/<target>/.

Small inputs at the edges the rules name: texts for the conversions, positions
and counts for the slicing, values for the writers, sessions for the
converter and RIFF WAVE files for the chunk walk. Deterministic; run it again
after changing a seed. The fuzzers never write into these folders.
"""
import pathlib
import shutil
import struct

HERE = pathlib.Path(__file__).resolve().parent / "corpus"

FULL_WIDTH_12 = b"\xa3\xb1\xa3\xb2"
FULL_WIDTH_MINUS_5 = b"\xa3\xad\xa3\xb5"


def texts():
    return [b"", b"12", b" +7", b"-5", b".5", b"5.", b".", b"+.", b"1e3", b"1d3", b"1e",
            b"1e+", b"99999999999", b"1e400", b"-1e400", b"1e-400", b"4.9e-324", FULL_WIDTH_12,
            FULL_WIDTH_MINUS_5, b"\xa1\xa1\t12", b"\xb0", b"4294967295", b"3.7", b"0x1F",
            b"- 5", b"+-5", b"12abc", b"1 2", b"0.000000000000000000001e30",
            b"12\x0034", b"\xa1\xab\xa1\xee\xa1\xef\xa3\xa3"]


def readers():
    return [b"", b"0", b"0x", b"1F", b"1f", b"0x1F", b"0X1F", b"7FFFFFFF", b"80000000",
            b"FFFFFFFF", b"123456789", b"17777777777", b"20000000000", b"37777777777",
            b"77777777777", b"19", b"1a", b"a1", b"101", b"1" * 31, b"1" + b"0" * 30, b"12",
            b"9999999999", b"2147483648", b"2147483647", b"1e10", b"-5", b"0x 12", FULL_WIDTH_12]


def slicing():
    cases = [(1, 1, b"abc", b"def"), (0, 1, b"abc", b""), (3, 5, b"abc", b"abc"),
             (4, 1, b"abc", b"ab"), (2, 0, b"abc", b"0x"), (-1, -1, b"abc", b"0X"),
             (2147483647, 2147483647, b"\xb0\xa1x", b"0"), (-2147483648, 2, b"0070", b""),
             (1, 1, b"\xb0\xa1", b"\x00\x00")]
    return [struct.pack("<iiH", p, n, len(a)) + a + b for p, n, a, b in cases]


def writers():
    values = [0, 1, 7, 8, 9, 63, 64, 255, 511, 512, 1073741824, 2147483647, -1, -7, -8, -9,
              -64, -2147483648, 2**53, -(2**53), 2**63 - 1, -(2**63)]
    return [struct.pack("<q", v) for v in values]


# The steps of fuzz_session.cpp, in its order.
CLICK_MODE, TYPE_ASCII, TYPE_ANY, BACKSPACE, PASTE, SET_TEXT, CLEAR, TICK = range(8)


def click(mode):
    return bytes([CLICK_MODE, mode - 1])


def typed(keys):
    return b"".join(bytes([TYPE_ASCII, k]) for k in keys)


def paste(text, step=PASTE):
    return bytes([step]) + struct.pack("<H", len(text)) + text


def sessions():
    tick = bytes([TICK])
    return [
        b"\x00" + typed(b"FF") + bytes([BACKSPACE]) + typed(b"g") + tick,
        b"\x00" + paste(b"FFFFFFFF") + tick + tick + click(4) + typed(b"255") + tick,
        b"\x03" + paste(b"1e10") + tick + paste(b"-5") + tick + bytes([CLEAR]),
        b"\x07" + paste(b"99999999999") + tick + click(8) + paste(b"8") + tick,
        b"\x09" + typed(b"1012") + tick + paste(b"1" * 40) + tick + typed(b"1"),
        b"\x00" + tick + paste(b"123456789ABC") + bytes([TYPE_ANY]) + struct.pack("<i", 0xA3B1)
        + paste(FULL_WIDTH_12, SET_TEXT) + tick,
        b"\x05" + typed(b"\r\x1b \x03\x16\x18\x1a") + paste(b"2147483648", SET_TEXT) + tick,
    ]


def chunk(tag, body, stated=None):
    length = len(body) if stated is None else stated
    return tag + struct.pack("<I", length) + body + (b"\x00" if len(body) % 2 else b"")


def fmt(tag=1, channels=1, rate=22050, bits=16):
    align = channels * bits // 8
    return chunk(b"fmt ", struct.pack("<HHIIHH", tag, channels, rate, rate * align, align, bits))


def riff(*chunks, stated=None):
    body = b"WAVE" + b"".join(chunks)
    return b"RIFF" + struct.pack("<I", len(body) if stated is None else stated) + body


def waves():
    samples = struct.pack("<8h", 0, 1000, 32767, -32768, 5, -5, 0, 12)
    return [
        riff(fmt(), chunk(b"data", samples)),
        riff(fmt(channels=2, rate=44100, bits=8), chunk(b"data", bytes(range(16)))),
        riff(fmt(rate=8000, bits=24), chunk(b"LIST", b"odd"), chunk(b"data", bytes(9))),
        riff(chunk(b"data", samples), fmt(channels=8, rate=192000, bits=32)),
        riff(fmt(), chunk(b"data", samples, stated=1000)),
        riff(fmt(), chunk(b"data", samples), stated=20),
        riff(chunk(b"fmt ", b"\x01\x00\x01\x00"), chunk(b"data", samples)),
        riff(fmt(tag=3), chunk(b"data", samples)),
        riff(fmt(), chunk(b"data", b"")),
        riff(fmt(), chunk(b"junk", b"", stated=0xFFFFFFFF)),
    ]


def main():
    corpora = {"fuzz_text": texts(), "fuzz_readers": readers(), "fuzz_slicing": slicing(),
               "fuzz_writers": writers(), "fuzz_session": sessions(), "fuzz_wave": waves()}
    for target, seeds in corpora.items():
        folder = HERE / target
        shutil.rmtree(folder, ignore_errors=True)
        folder.mkdir(parents=True)
        for number, seed in enumerate(seeds):
            (folder / f"seed-{number:02d}").write_bytes(seed)


if __name__ == "__main__":
    main()
