// The drive table: revealing rows and fitting both windows to the drive count.
#include "app/form1.h"
#include "app/program.h"
#include "probe/drive_discovery.h"
#include "windows/form2.h"

namespace volumetra {
namespace {

void SetTopIfDifferent(Control& c, float top) {
  if (c.top() != top) c.setTop(top);
}

}  // namespace

void ShowGridRows(Program& program) {
  Form1& f = program.form1();
  const std::vector<Control*>* columns[] = {&f.Label2, &f.Label3, &f.Label4, &f.Label5,
                                            &f.Label6, &f.Label7, &f.Label8, &f.Label9};
  const std::size_t n = program.m.DriveLetters.size();
  for (std::size_t p = 1; p <= n; ++p) {
    for (const std::vector<Control*>* column : columns) {
      Control& cell = *(*column)[p - 1];
      if (!cell.visible()) cell.setVisible(true);
    }
  }
}

void Form1::Timer2_Timer() {
  DiscoverDrives(program_.probeContext());
  const std::int32_t n = static_cast<std::int32_t>(program_.m.DriveLetters.size());
  const std::int32_t height = 240 * n + 1168;
  if (windowState() == WindowState::Normal && this->height() != static_cast<float>(height)) {
    setHeight(static_cast<float>(height));
  }
  for (Control* c : bottomRow()) SetTopIfDifferent(*c, static_cast<float>(240 * n + 256));
  ShowGridRows(program_);
  Form2& graph = program_.form2();
  const float legendTop = static_cast<float>(240 * n + 390);
  const float scaleTop = static_cast<float>(240 * n);
  SetTopIfDifferent(graph.Command1, legendTop);
  SetTopIfDifferent(graph.Label2, scaleTop);
  SetTopIfDifferent(graph.Label26, legendTop);
  SetTopIfDifferent(graph.Label27, legendTop);
  SetTopIfDifferent(graph.Shape51, legendTop);
  SetTopIfDifferent(graph.Shape52, legendTop);
  for (Control* c : {&graph.Label28, &graph.Label29, &graph.Label30, &graph.Label31})
    SetTopIfDifferent(*c, scaleTop);
  SetTopIfDifferent(graph.Slider1, legendTop);
  if (windowState() == WindowState::Normal && graph.windowState() == WindowState::Normal &&
      graph.height() != this->height() - 10) {
    graph.setHeight(this->height() - 10);
  }
  ShowGraphRows(program_);
}

}  // namespace volumetra
