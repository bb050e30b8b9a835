#pragma once

#include <QString>
#include <optional>

namespace platform {

// The user's regional settings, kept in section `intl` of WIN.INI under the
// Windows key names. A missing key reads as the value the programs require,
// so a fresh machine passes the start-up check.
enum class LocaleSetting : int {
    Date = 29,            // sDate
    ShortDate = 31,       // sShortDate
    Time = 30,            // sTime
    TimeFormat = 4099,    // sTimeFormat
    Decimal = 14,         // sDecimal
    Thousand = 15,        // sThousand
    Digits = 17,          // iDigits
    NegativeSign = 81,    // sNegativeSign
    NegNumber = 4112,     // iNegNumber
    LeadingZero = 18,     // iLZero
    MonDecimalSep = 22,   // sMonDecimalSep
    MonThousandSep = 23,  // sMonThousandSep
    CurrDigits = 25,      // iCurrDigits
    Currency = 27,        // iCurrency
    NegCurr = 28,         // iNegCurr
};

QString localeKeyName(LocaleSetting setting);
// The setting's value; nullopt when it cannot be read.
std::optional<QString> readLocaleSetting(LocaleSetting setting);

} // namespace platform
