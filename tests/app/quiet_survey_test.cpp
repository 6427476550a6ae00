#include <gtest/gtest.h>

#include <vector>

#include "app/form1.h"
#include "support/fake_machine.h"
#include "windows/form2.h"

namespace volumetra {
namespace {

/// Records which controls a backend would have to repaint.
class RepaintLog : public FormView {
 public:
  explicit RepaintLog(std::vector<std::string>& log) : log_(log) {}
  void FormChanged(FormProperty) override { log_.push_back("form"); }
  void ControlChanged(Control& c, ControlProperty) override {
    log_.push_back(c.form().name() + "." + c.name() +
                   (c.index() >= 0 ? "(" + std::to_string(c.index()) + ")" : ""));
  }
  void Activate() override {}

 private:
  std::vector<std::string>& log_;
};

TEST(QuietSurvey, UnchangedDrivesAssignNoLayoutAndRepaintOnlyTheStatusLine) {
  FakeMachine machine;
  std::vector<std::string> repaints;
  machine.windows.viewFactory = [&](Form&) { return std::make_unique<RepaintLog>(repaints); };
  for (char l : {'C', 'D', 'E'}) machine.volumes.add(l, 100000, 5000, "DISK");
  Program& p = machine.start();
  machine.advance(1600);  // the first surveys fill the table and settle the colours
  Form1& f = p.form1();
  Form2& g = p.form2();
  const auto mainLayout = f.layoutAssignments();
  const auto graphLayout = g.layoutAssignments();
  repaints.clear();

  f.Timer1_Timer();

  EXPECT_EQ(f.layoutAssignments(), mainLayout);
  EXPECT_EQ(g.layoutAssignments(), graphLayout);
  EXPECT_EQ(repaints, std::vector<std::string>{"Form1.StatusBar1"});

  // A drive whose free space shrinks repaints its own cells and bar and the free and used sums.
  machine.volumes.add('D', 100000, 4000, "DISK");
  repaints.clear();
  f.Timer1_Timer();
  for (const std::string& r : repaints) {
    EXPECT_TRUE(r == "Form1.StatusBar1" || r == "Form1.Label183" || r == "Form1.Label129" ||
                r.ends_with("(1)"))
        << r;
  }
  EXPECT_GT(repaints.size(), 1u);
}

}  // namespace
}  // namespace volumetra
