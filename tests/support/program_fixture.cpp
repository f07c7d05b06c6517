#include "support/program_fixture.h"

#include "app/lifecycle.h"
#include "ui/draw_window.h"
#include "ui/gift_window.h"
#include "ui/settings_window.h"

#include <QCoreApplication>
#include <QEvent>

namespace support {

void flushQueue() {
  QCoreApplication::sendPostedEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void closeAllWindows() {
  for (app::WindowSlot *s : {&ui::settingsWindowSlot, &ui::drawWindowSlot, &ui::giftWindowSlot})
    if (app::lifecycle().isLoaded(*s))
      app::lifecycle().closeRequest(*s);
  flushQueue();
}

} // namespace support
