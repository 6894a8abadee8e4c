#pragma once

namespace kestrel {

// The three kinds of editor window the main window keeps registries of.
enum class EditorKind
{
    PhoneBook,
    Fdn,
    Sms,
};

} // namespace kestrel
