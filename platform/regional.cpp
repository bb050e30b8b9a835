#include "platform/regional.h"

#include "platform/profile.h"

namespace platform {

namespace {

struct SettingKey {
    LocaleSetting setting;
    const char* key;
    const char* required; // what a missing key reads as
};

constexpr SettingKey kSettings[] = {
    {LocaleSetting::Date, "sDate", "/"},
    {LocaleSetting::ShortDate, "sShortDate", "dd/MM/yyyy"},
    {LocaleSetting::Time, "sTime", ":"},
    {LocaleSetting::TimeFormat, "sTimeFormat", "hh:mm:ss tt"},
    {LocaleSetting::Decimal, "sDecimal", "."},
    {LocaleSetting::Thousand, "sThousand", ","},
    {LocaleSetting::Digits, "iDigits", "2"},
    {LocaleSetting::NegativeSign, "sNegativeSign", "-"},
    {LocaleSetting::NegNumber, "iNegNumber", "1"},
    {LocaleSetting::LeadingZero, "iLZero", "1"},
    {LocaleSetting::MonDecimalSep, "sMonDecimalSep", "."},
    {LocaleSetting::MonThousandSep, "sMonThousandSep", ","},
    {LocaleSetting::CurrDigits, "iCurrDigits", "2"},
    {LocaleSetting::Currency, "iCurrency", "0"},
    {LocaleSetting::NegCurr, "iNegCurr", "2"},
};

const SettingKey* find(LocaleSetting setting)
{
    for (const SettingKey& entry : kSettings) {
        if (entry.setting == setting)
            return &entry;
    }
    return nullptr;
}

} // namespace

QString localeKeyName(LocaleSetting setting)
{
    const SettingKey* entry = find(setting);
    return entry ? QString::fromLatin1(entry->key) : QString();
}

std::optional<QString> readLocaleSetting(LocaleSetting setting)
{
    const SettingKey* entry = find(setting);
    if (!entry)
        return std::nullopt;
    return readProfileValue(QStringLiteral("intl"), QString::fromLatin1(entry->key),
                            QString::fromLatin1(entry->required), winIniPath());
}

} // namespace platform
