#include "support/program_fixture.h"

#include "app/lifecycle.h"
#include "app/program_state.h"
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

bool startWithGiftWindow() {
  app::lifecycle().resetForTest();
  app::drawSlots = std::make_unique<app::DrawSlots>();
  return app::lifecycle().load(ui::giftWindowSlot);
}

void closeAllWindows() {
  for (app::WindowSlot *s : {&ui::settingsWindowSlot, &ui::drawWindowSlot, &ui::giftWindowSlot})
    if (app::lifecycle().isLoaded(*s))
      app::lifecycle().closeRequest(*s);
  flushQueue();
}

} // namespace support
