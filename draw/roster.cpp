#include "draw/roster.h"

#include "draw/gbk.h"
#include "draw/profile.h"
#include "draw/text.h"

namespace draw {

std::string rosterPath(const std::string &runDirectory) { return textJoin(runDirectory, "/配置.ini"); }

std::string rosterLookup(FileLayer &files, const std::string &runDirectory, const TextLabel &numberOnShow) {
  static const std::string section = gbk("名单");
  const std::string key = numberOnShow.labelText();
  return readProfileString(files, rosterPath(runDirectory), section, key);
}

} // namespace draw
