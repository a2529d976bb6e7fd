// The window's texts are GBK bytes to the converter and Unicode to Qt; this
// is the one place where they cross.
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace vantrigo {

// A character GBK cannot hold becomes '?'.  toGbk(u"１２") == "\xA3\xB1\xA3\xB2"
std::string toGbk(const QString& text);

// Bytes that are no GBK character become U+FFFD; the text ends at a zero byte.
QString fromGbk(std::string_view bytes);

}  // namespace vantrigo
