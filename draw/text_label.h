#pragma once
// What the draw and the records need of a label on the screen: its text, as GBK bytes.

#include <string>

namespace draw {

class TextLabel {
public:
  virtual ~TextLabel() = default;
  virtual std::string labelText() const = 0;
  virtual void setLabelText(const std::string &gbk) = 0;
};

} // namespace draw
