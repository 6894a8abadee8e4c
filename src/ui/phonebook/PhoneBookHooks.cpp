#include "ui/phonebook/PhoneBookHooks.h"

#include "ui/phonebook/PhoneBookPrinter.h"
#include "ui/phonebook/PhoneBookProgress.h"

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
    return std::make_unique<PhoneBookProgress>(parent);
}

void setPhoneBookPrintFunction(PhoneBookPrintFunction print)
{
    printSlot() = std::move(print);
}

int printPhoneBook(AppState& app, const QList<DialEntry>& rows, QWidget* parent)
{
    if (printSlot())
        return printSlot()(app, rows, parent);
    return PhoneBookPrinter::printWithDialogs(app, rows, parent);
}

} // namespace kestrel
