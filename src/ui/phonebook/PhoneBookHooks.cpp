#include "ui/phonebook/PhoneBookHooks.h"

#include "ui/ProgressDialog.h"
#include "ui/ReportPrinter.h"

namespace kestrel {

namespace {

CountryChooser& chooserSlot()
{
    static CountryChooser chooser;
    return chooser;
}

ProgressSinkFactory& factorySlot()
{
    static ProgressSinkFactory factory;
    return factory;
}

PhoneBookPrintFunction& printSlot()
{
    static PhoneBookPrintFunction print;
    return print;
}

} // namespace

void setCountryChooser(CountryChooser chooser)
{
    chooserSlot() = std::move(chooser);
}

const CountryChooser& countryChooser()
{
    return chooserSlot();
}

void setProgressSinkFactory(ProgressSinkFactory factory)
{
    factorySlot() = std::move(factory);
}

std::unique_ptr<ProgressSink> makeProgressSink(QWidget* parent)
{
    if (factorySlot())
        return factorySlot()(parent);
    return std::make_unique<ProgressDialog>(parent);
}

void setPhoneBookPrintFunction(PhoneBookPrintFunction print)
{
    printSlot() = std::move(print);
}

int printPhoneBook(AppState& app, const QList<DialEntry>& rows, QWidget* parent)
{
    if (printSlot())
        return printSlot()(app, rows, parent);
    return ReportPrinter(app, parent).PrintPhoneBook(rows);
}

} // namespace kestrel
