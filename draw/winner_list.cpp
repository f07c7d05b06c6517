#include "draw/winner_list.h"

#include "draw/gbk.h"
#include "draw/roster.h"
#include "draw/text.h"

namespace draw {

std::string winnerListPath(const std::string &runDirectory) { return textJoin(runDirectory, "/中奖名单.txt"); }

void announceAndRecord(FileLayer &files, const std::string &runDirectory, const TextLabel &numberOnShow,
                       TextLabel &announcement, std::optional<std::string> &winnerListText) {
  static const std::string congratulations = gbk("恭喜");
  static const std::string wonAPrize = gbk("中奖了！");

  const std::string name = rosterLookup(files, runDirectory, numberOnShow);
  announcement.setLabelText(textCopy(textJoin(congratulations, name, wonAPrize)));

  // A list that is there but cannot be read whole is left as it is: writing the name alone
  // over it would lose every winner already recorded.
  const std::optional<std::string> former = files.readWhole(winnerListPath(runDirectory));
  winnerListText = former ? bytesToText(*former) : std::nullopt;

  // The roster is read a second time for the name that goes into the list, so both reads see
  // the roster as it stands at this press.
  const std::string nameAgain = rosterLookup(files, runDirectory, numberOnShow);
  if (!former)
    return;

  // Every former byte is kept, a 0 byte inside the list included; only a list that is missing
  // or 0 bytes long starts afresh with the name alone.
  std::string content;
  if (former->empty()) {
    content = textToBytes(nameAgain);
  } else {
    content.reserve(former->size() + 2 + nameAgain.size());
    content.append(*former).append("\r\n").append(textToBytes(nameAgain));
  }
  files.replaceWhole(winnerListPath(runDirectory), content);
}

void deleteWinnerList(FileLayer &files, const std::string &runDirectory) { files.remove(winnerListPath(runDirectory)); }

} // namespace draw
