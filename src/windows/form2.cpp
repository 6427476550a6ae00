#include "windows/form2.h"

#include "app/form1.h"
#include "app/program.h"
#include "probe/probe_pass.h"
#include "report/graph_scale.h"
#include "windows/form2_design.h"

namespace volumetra {

Form2::Form2(Program& program)
    : Form(program, program.os.timers, Form2Design(), Form2Controls()),
      Label1(controlArray("Label1")),
      Shape1(controlArray("Shape1")),
      Shape2(controlArray("Shape2")),
      Label2(control("Label2")),
      Label26(control("Label26")),
      Label27(control("Label27")),
      Label28(control("Label28")),
      Label29(control("Label29")),
      Label30(control("Label30")),
      Label31(control("Label31")),
      Shape51(control("Shape51")),
      Shape52(control("Shape52")),
      Slider1(control("Slider1")),
      Command1(control("Command1")),
      program_(program) {
  Command1.onClick = [this] { Command1_Click(); };
  Label26.onClick = [this] { Label26_Click(); };
  Slider1.onScroll = [this] { Slider1_scroll(); };
}

void Form2::Form_Load() {
  Module1& m = program_.m;
  setLeft(static_cast<float>(m.Window2XPos));
  setTop(static_cast<float>(m.Window2YPos));
  setHeight(program_.form1().height() - 10);
  setWidth(static_cast<float>(m.Window2Width));
  const float n = static_cast<float>(m.DriveLetters.size());
  for (Control* c : {&Command1, &Label2, &Label26, &Label27, &Shape51, &Shape52}) {
    c->setTop(c == &Label2 ? 240 * n : 240 * n + 390);
  }
  for (Control* c : {&Label28, &Label29, &Label30, &Label31}) c->setTop(240 * n);
  Slider1.setTop(240 * n + 390);
  if (m.MaxFreeMB > 0) {
    const GraphScaleReset reset = ResetGraphScale(m.MaxFreeMB, Slider1.max());
    m.GraphMax = reset.sliderValue;
    m.GraphDivisor = reset.divisor;
  }
  Slider1.setValue(m.GraphMax);
}

void Form2::Form_Activate() {
  program_.m.ShowGraph = true;
}

void Form2::Form_Resize() {
  if (windowState() == WindowState::Maximized) setWindowState(WindowState::Normal);
  Form1* main = program_.loadedForm1();
  if (!main) return;
  if (windowState() == WindowState::Normal && main->windowState() == WindowState::Normal &&
      height() != main->height() - 10) {
    setHeight(main->height() - 10);
  }
}

void Form2::Command1_Click() {
  Form1& main = program_.form1();
  if (main.windowState() == WindowState::Minimized) main.setWindowState(WindowState::Normal);
  main.Show();
  program_.m.ShowGraph = false;
}

void Form2::Label26_Click() {
  Module1& m = program_.m;
  if (m.MaxFreeMB <= 0) return;
  const GraphScaleReset reset = ResetGraphScale(m.MaxFreeMB, Slider1.max());
  m.GraphDivisor = reset.divisor;
  Slider1.setValue(reset.sliderValue);
}

void Form2::Slider1_scroll() {
  ProbeDrives(program_.probeContext());
}

void ShowGraphRows(Program& program) {
  Form2& graph = program.form2();
  const std::size_t n = program.m.DriveLetters.size();
  for (std::size_t i = 0; i < n; ++i) {
    graph.Label1[i]->setVisible(true);
    graph.Shape1[i]->setVisible(true);
    graph.Shape2[i]->setVisible(true);
  }
}

}  // namespace volumetra
