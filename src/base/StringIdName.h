#pragma once

#include <string>
#include <string_view>

namespace kestrel {

// The C++ name of a string-table entry, as the generated header base/StringIds.h declares it in
// namespace kestrel::sid: the text's first words in CamelCase, then '_' and the id, so that
// sid::CardNotInserted_131 reads as its text and a search for 131 finds it.
// - Only ASCII letters and digits make words; letters with diacritics count as their base letter
//   (zablokována -> Zablokovana), every other character separates words.
// - Menu accelerators ('&') and apostrophes are dropped inside a word ("Sa&ve" -> Save, "What's"
//   -> Whats); printf and Qt placeholders ("%u", "%1", "%m") are left out.
// - The prefix "Kestrel! - " of dialog captions is left out ("Kestrel! - Enter PUK" -> EnterPuk).
// - A word in capitals becomes capitalized ("SMS" -> Sms, "PIN2" -> Pin2); other words keep their
//   letters and get a capital first letter ("authentification" -> Authentification).
// - At most five words; a text without any word gives "Text", a name starting with a digit gets
//   the prefix "N" ("49" -> N49_59000).
std::string stringIdName(int id, std::u16string_view text);

} // namespace kestrel
