#include "converter/input_guards.h"

#include <algorithm>

#include "primitives/primitives.h"
#include "radix/radix.h"

namespace vantrigo {

namespace {

constexpr CodeRange kNoRange{1, 0};

}  // namespace

const std::array<SourceGuard, 4> kSourceGuards{{
    {SourceBase::Hex, {{{'0', '9'}, {'A', 'F'}, {'a', 'f'}}}, ValueTest::HexReadsNegative, 0.0,
     "7FFFFFFF"},
    // The octal input is read as a decimal number and held against the octal
    // digits of 2147483647: for texts of digits 0 to 7 both readings order alike.
    {SourceBase::Dec, {{{'0', '9'}, kNoRange, kNoRange}}, ValueTest::DecimalReadingAbove,
     2147483647.0, "2147483647"},
    {SourceBase::Oct, {{{'0', '7'}, kNoRange, kNoRange}}, ValueTest::DecimalReadingAbove,
     17777777777.0, "17777777777"},
    {SourceBase::Bin, {{{'0', '1'}, kNoRange, kNoRange}}, ValueTest::None, 0.0,
     "1111111111111111111111111111111"},
}};

bool acceptsCode(const SourceGuard& guard, std::int32_t code) {
    return code == kBackspaceCode ||
           std::any_of(guard.digits.begin(), guard.digits.end(), [code](const CodeRange& range) {
               return code >= range.first && code <= range.last;
           });
}

bool exceedsLargestValue(const SourceGuard& guard, std::string_view input) {
    switch (guard.test) {
        case ValueTest::None: return false;
        case ValueTest::HexReadsNegative: return readHex(input) < 0;
        case ValueTest::DecimalReadingAbove:
            return realGreater(textToNumber(input), guard.decimalBound);
    }
    return false;
}

}  // namespace vantrigo
