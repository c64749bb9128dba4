#pragma once

namespace sheet {

// The papers the sheet and the book are laid out for; their layout fits on both.
enum class Paper { A4, Letter };

// "A4" or "Letter", as the shop calls it.
const char* paperName(Paper paper);

// The paper the system's other programs print on: the one libpaper names (the PAPERSIZE variable, else
// the file PAPERCONF names or /etc/papersize) when it is A4 or Letter; else the one of the user's locale
// (LC_PAPER); else Letter. A paper file that is no ordinary file (a pipe) is passed over, never waited on.
Paper systemPaper();

} // namespace sheet
