#pragma once

namespace kestrel {

class PhoneBookModel;

// Internationalize (dialog 161) after OK with its From/To item numbers: national numbers of the
// valid entries of rows from-1..to-1 become international with the settings `intSelector` (the
// access prefix dialled to call abroad) and `intNumber` (the user's own country code):
//   access prefix + digits   -> "+" digits
//   "0" + digits (not "00")  -> "+" intNumber digits
// Entries already international (ton 1) and other numbers are left alone; a result longer than 60
// digits leaves the entry unchanged and sid::SomeNumbersWouldBeToo_57592 is shown once at the end. A wrong range shows
// sid::OutOfRange_57593 and changes nothing; unset settings ask sid::InternationalizationSettingsAreNotSet_57591 first.
// Returns true when the entries were worked through.
bool internationalize(PhoneBookModel& model, int from, int to);

} // namespace kestrel
