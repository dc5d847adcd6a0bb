#include "tarvela/runtime/control.h"

#include <gtest/gtest.h>

#include "tarvela/runtime/exceptions.h"
#include "tarvela/runtime/string_list.h"

namespace tarvela {
namespace {

class CountingPeer : public ControlPeer {
 public:
  void BoundsChanged() override { ++bounds; }
  void VisibleChanged() override { ++visible; }
  void Invalidate() override { ++invalidated; }
  int bounds = 0, visible = 0, invalidated = 0;
};

TEST(Control, ChildFollowsTheParentFontUntilItGetsItsOwn) {
  TWinControl parent(nullptr);
  parent.Font().SetName("Parent Face");
  parent.Font().SetHeight(-13);
  TControl follower(&parent);
  TControl own(&parent);
  own.Font().SetName("Own Face");
  EXPECT_FALSE(own.ParentFont());
  follower.SetParent(&parent);
  own.SetParent(&parent);
  EXPECT_TRUE(follower.ParentFont());
  EXPECT_EQ(follower.Font().Name(), "Parent Face");
  EXPECT_EQ(follower.Font().Height(), -13);
  EXPECT_EQ(own.Font().Name(), "Own Face");
  own.SetParentFont(true);
  EXPECT_EQ(own.Font().Name(), "Parent Face");
}

TEST(Control, PeerHearsOnlyRealChanges) {
  TControl control(nullptr);
  CountingPeer peer;
  control.SetPeer(&peer);
  control.SetBounds(8, 48, 465, 337);
  control.SetBounds(8, 48, 465, 337);
  control.SetWidth(465);
  control.SetLeft(9);
  control.SetVisible(true);
  control.SetVisible(false);
  control.Invalidate();
  EXPECT_EQ(peer.bounds, 2);
  EXPECT_EQ(peer.visible, 1);
  EXPECT_EQ(peer.invalidated, 1);
  EXPECT_EQ(control.BoundsRect(), (TRect{9, 48, 474, 385}));
}

TEST(Control, TabOrderListSkipsControlsWithoutOrderAndSortsTheRest) {
  TWinControl parent(nullptr);
  TControl a(&parent), b(&parent), c(&parent);
  a.SetTabOrder(2);
  c.SetTabOrder(0);
  a.SetParent(&parent);
  b.SetParent(&parent);
  c.SetParent(&parent);
  const auto list = parent.TabOrderList();
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0], &c);
  EXPECT_EQ(list[1], &a);
  EXPECT_EQ(parent.ControlCount(), 3);
  EXPECT_THROW(parent.Controls(3), EListError);
}

TEST(Control, DestroyedParentLeavesNoDanglingChild) {
  auto parent = std::make_unique<TWinControl>(nullptr);
  TControl child(nullptr);
  child.SetParent(parent.get());
  parent.reset();
  EXPECT_EQ(child.Parent(), nullptr);
}

TEST(StringList, EditsAnnounceChangesAndCheckIndexes) {
  TStrings lines;
  int changes = 0;
  lines.OnChange = [&] { ++changes; };
  lines.Add("a");
  lines.AddLines({"b", "c"});
  lines.AddLines({});
  EXPECT_EQ(lines.Count(), 3);
  EXPECT_EQ(changes, 2);
  lines.Delete(0);
  EXPECT_EQ(lines.Strings(0), "b");
  EXPECT_EQ(lines.Text(), "b\r\nc\r\n");
  try {
    lines.Strings(2);
    FAIL();
  } catch (const EListError& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds (2)");
  }
  lines.Clear();
  lines.Clear();
  EXPECT_EQ(changes, 4);
}

}  // namespace
}  // namespace tarvela
