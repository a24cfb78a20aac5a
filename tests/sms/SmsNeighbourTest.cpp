// The message controller as its neighbours find it: present exactly while it lives, and placing
// another subsystem's window where its own new-message windows come out.
#include "MessagesNeighbour.h"
#include "Neighbourhood.h"
#include "SMSController.h"
#include "SmsFixture.h"

#include <QWidget>

namespace {

class SmsNeighbour : public SmsFixture {};

TEST_F(SmsNeighbour, TheControllerTakesItsPlaceAndLeavesIt) {
  {
    SMSController first;
    EXPECT_EQ(Neighbourhood::messages(), static_cast<MessagesNeighbour *>(&first));
    {
      SMSController second;
      EXPECT_EQ(Neighbourhood::messages(), static_cast<MessagesNeighbour *>(&second));
    }
    EXPECT_EQ(Neighbourhood::messages(), nullptr);
  }
  EXPECT_EQ(Neighbourhood::messages(), nullptr);
}

TEST_F(SmsNeighbour, AWindowIsCentredOnTheMainWindowOnlyWhenThereIsOne) {
  SMSController sms;
  QWidget window;
  window.resize(200, 100);
  window.move(5, 7);
  EXPECT_FALSE(sms.setNewWindPlaceBasesWndMainPlace(&window));
  EXPECT_EQ(window.pos(), QPoint(5, 7));

  QWidget main;
  main.setGeometry(100, 100, 600, 400);
  sms.wndMain = &main;
  EXPECT_TRUE(sms.setNewWindPlaceBasesWndMainPlace(&window));
  const QRect frame = main.frameGeometry();
  EXPECT_EQ(window.frameGeometry().center().x() - frame.center().x(), 0);
  EXPECT_EQ(window.frameGeometry().center().y() - frame.center().y(), 0);
  EXPECT_FALSE(sms.setNewWindPlaceBasesWndMainPlace(nullptr));
}

} // namespace
