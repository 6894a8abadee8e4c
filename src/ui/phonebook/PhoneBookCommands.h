#pragma once

namespace kestrel {

// Command ids of the phone book and fixed-dialling-number windows: their buttons, the context
// menu, the keys of the list and what the main window forwards.
namespace PhoneBookCommand {
inline constexpr int kClose = 2;
inline constexpr int kRead = 1001;
inline constexpr int kWrite = 1002;
inline constexpr int kClearAll = 1004;
inline constexpr int kFind = 1005;
inline constexpr int kSort = 1006;
inline constexpr int kAddCode = 1007;
inline constexpr int kEdit = 1027;
inline constexpr int kInsert = 2053;        // IDM_INSERT
inline constexpr int kDelete = 2054;        // IDM_DEL
inline constexpr int kClearSelected = 2055; // IDM_DELSEL
inline constexpr int kSelectAll = 2056;     // IDM_SELALL
inline constexpr int kCut = 2057;
inline constexpr int kCopy = 2058;
inline constexpr int kPaste = 2059;
inline constexpr int kEditEntry = 2060;
inline constexpr int kClear = 2061; // SMAZAT
inline constexpr int kSelectRange = 2062;
inline constexpr int kInternationalize = 2063; // IDM_INTERNATIONALIZE
inline constexpr int kUndo = 2064;
inline constexpr int kRedo = 2065;
inline constexpr int kFindNext = 2100;
inline constexpr int kOpenFile = 40002;
inline constexpr int kSaveFile = 40005;
inline constexpr int kAddFromFile = 40006;
} // namespace PhoneBookCommand

} // namespace kestrel
