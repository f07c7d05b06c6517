#pragma once
// The roster "配置.ini" in the run directory: section "名单", key = the number on show,
// value = the person's name. The host edits it beforehand; the program only reads it, and
// reads it afresh at every lookup so an edit takes effect at the next press of "暂停".

#include "draw/files.h"
#include "draw/text_label.h"

#include <string>

namespace draw {

// The path of the roster in a run directory (UTF-8 file name).
std::string rosterPath(const std::string &runDirectory);

// The name (GBK) for the number on show; the empty text when there is none.
std::string rosterLookup(FileLayer &files, const std::string &runDirectory, const TextLabel &numberOnShow);

} // namespace draw
