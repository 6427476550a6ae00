#pragma once

#include <string>

namespace volumetra {

/// The grid's "# ### ### ##0" form: the value rounded to a whole number (halves away from zero),
/// its digits placed right-aligned into ten digit positions grouped 1-3-3-3 by single spaces. The
/// spaces are always written, empty leading positions write nothing, and digits beyond ten stand
/// in front of the first group: 0 gives "   0", 1234567 gives " 1 234 567". A negative value has
/// its minus sign directly before the first digit. A value that is not finite gives "-".
std::string FormatGrouped(double value);

/// The sums' "#,##0" form: the value rounded to a whole number (halves away from zero) with
/// `thousandsSeparator` between groups of three digits and no padding. Not finite gives "-".
std::string FormatThousands(double value, const std::string& thousandsSeparator);

/// The graph scale's caption: the value cut toward zero, one leading space when it is not
/// negative (a minus sign otherwise), then " MB": 3360.9 gives " 3360 MB". Not finite gives "-".
std::string FormatScale(double value);

/// Plain decimal digits of the value rounded to a whole number, a minus sign when negative, no
/// padding. Not finite gives "-".
std::string FormatDecimal(double value);

/// The log's general number form: up to 15 significant digits with `decimalSeparator`, no
/// grouping, trailing zeros dropped, an exponent ("1E+15") only for magnitudes of 10^15 and above
/// or below 10^-4; led by a space when not negative (a minus sign otherwise) and followed by one
/// space: 1234.5 gives " 1234.5 ". Not finite gives " - ".
std::string FormatGeneral(double value, const std::string& decimalSeparator);

}  // namespace volumetra
