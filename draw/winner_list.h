#pragma once
// Announce and record, and the winner list file "中奖名单.txt" in the run directory.

#include "draw/files.h"
#include "draw/text_label.h"

#include <optional>
#include <string>

namespace draw {

// The path of the winner list in a run directory (UTF-8 file name).
std::string winnerListPath(const std::string &runDirectory);

// The "暂停" step after the roll has stopped: the roster is read twice, the list once, the
// announcement "恭喜" + name + "中奖了！" goes into `announcement`, and the list is rewritten
// whole with the name appended. `winnerListText` is the program-wide copy of the list as read.
void announceAndRecord(FileLayer &files, const std::string &runDirectory, const TextLabel &numberOnShow,
                       TextLabel &announcement, std::optional<std::string> &winnerListText);

// "关闭程序": the list file goes; a missing file or a failed deletion changes nothing.
void deleteWinnerList(FileLayer &files, const std::string &runDirectory);

} // namespace draw
