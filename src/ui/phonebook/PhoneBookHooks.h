#pragma once

#include <functional>
#include <memory>

#include <QList>
#include <QString>

#include "codec/DialEntry.h"

class QWidget;

namespace kestrel {

class AppState;
class ProgressSink;

// What the phone book windows take from other parts of the desktop program, set once at start-up.

// The country dialling-code chooser (dialog 141): the chosen code ("+49"), empty when nothing was
// chosen. Without one the buttons that open it stay disabled.
using CountryChooser = std::function<QString(QWidget* parent)>;
void setCountryChooser(CountryChooser chooser);
const CountryChooser& countryChooser();

// The progress window of card operations started from a phone book window (the program's
// ProgressDialog unless a test gives another).
using ProgressSinkFactory = std::function<std::unique_ptr<ProgressSink>(QWidget* parent)>;
void setProgressSinkFactory(ProgressSinkFactory factory);
std::unique_ptr<ProgressSink> makeProgressSink(QWidget* parent);

// Printing a window's list (Print Phone Book): the rows of the capacity, free ones included.
// Returns the number of pages printed, 0 when the job was cancelled. ReportPrinter unless a test
// gives another.
using PhoneBookPrintFunction = std::function<int(AppState& app, const QList<DialEntry>& rows, QWidget* parent)>;
void setPhoneBookPrintFunction(PhoneBookPrintFunction print);
int printPhoneBook(AppState& app, const QList<DialEntry>& rows, QWidget* parent);

} // namespace kestrel
