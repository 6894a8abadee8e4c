#include "app/AppSettings.h"

#include <QSettings>

#include "base/StringTable.h"

namespace kestrel {

namespace {

// One pass over the table of sections and keys, in its order, for loading and saving alike.
template <typename Visit>
void visitKeys(Visit&& visit, auto& s)
{
    visit("commData", "device", s.device);
    visit("commData", "sleepDelay", s.sleepDelay);
    visit("confirmations", "autoRead", s.autoRead);
    visit("confirmations", "confirm", s.confirm);
    visit("confirmations", "scrFree", s.scrFree);
    visit("confirmations", "startWMin", s.startWMin);
    visit("confirmations", "EnCache", s.enCache);
    visit("confirmations", "unicodeNames", s.unicodeNames);
    visit("findData", "findStr", s.findStr);
    visit("findData", "replStr", s.replStr);
    visit("findData", "itemSrch", s.itemSrch);
    visit("SMSData", "validPer", s.validPer);
    visit("SMSData", "servCenter", s.servCenter);
    visit("SMSData", "intNumber", s.intNumber);
    visit("SMSData", "intSelector", s.intSelector);
    visit("PrintHdr", "PrnHdrAdj", s.prnHdrAdj);
    visit("PrintHdr", "Provozovna", s.provozovna);
    visit("PrintHdr", "Prodejce", s.prodejce);
    visit("PrintHdr", "Poznamka", s.poznamka);
    visit("PrintHdr", "Address", s.address);
    visit("PrintHdr", "Phone", s.phone);
    visit("PrintHdr", "Fax", s.fax);
    visit("PrintHdr", "Email", s.email);
    visit("general", "language", s.language);
}

QString keyOf(const char* section, const char* key)
{
    return QLatin1String(section) + QLatin1Char('/') + QLatin1String(key);
}

} // namespace

AppSettings AppSettings::defaults()
{
    AppSettings s;
    s.intNumber = StringTable::text(sid::N49_59000);
    s.intSelector = StringTable::text(sid::N00_59001);
    return s;
}

Result AppSettings::LoadSettings(QSettings& store)
{
    visitKeys(
        [&store](const char* section, const char* key, auto& field) {
            const QVariant v = store.value(keyOf(section, key));
            using Field = std::remove_reference_t<decltype(field)>;
            if (!v.isValid())
                return;
            if constexpr (std::is_same_v<Field, int>) {
                // A value that is no number keeps the default, as an unreadable value would.
                bool ok = false;
                const int n = v.toInt(&ok);
                if (ok)
                    field = n;
            } else {
                field = v.toString();
            }
        },
        *this);
    if (store.status() != QSettings::NoError)
        return Result::failure(strId(sid::ErrorWhileReadingDataFrom_57689), store.fileName());
    return Result::ok();
}

Result AppSettings::SaveSettings(QSettings& store) const
{
    visitKeys([&store](const char* section, const char* key,
                       const auto& field) { store.setValue(keyOf(section, key), field); },
              *this);
    store.sync();
    if (store.status() != QSettings::NoError)
        return Result::failure(strId(sid::ErrorWhileWritingDataTo_57686), store.fileName());
    return Result::ok();
}

std::unique_ptr<QSettings> AppSettings::openUserStore()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Brantwick"),
                                       StringTable::text(sid::Kestrel40_57344));
}

void AppSettings::installStoredLanguage()
{
    AppSettings settings;
    settings.LoadSettings(*openUserStore());
    // An unknown choice in the store leaves the program in English, as it was.
    installLanguage(settings.language);
}

} // namespace kestrel
