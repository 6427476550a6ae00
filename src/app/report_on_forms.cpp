#include "app/report_on_forms.h"

#include "app/form1.h"
#include "app/program.h"
#include "report/report_cycle.h"
#include "windows/form2.h"

namespace volumetra {

void ReportOnForms(Program& program) {
  Form1& f1 = program.form1();
  Form2& f2 = program.form2();
  const ReportControls controls{.letters = f1.Label2,
                                .labels = f1.Label3,
                                .types = f1.Label4,
                                .totals = f1.Label5,
                                .frees = f1.Label6,
                                .useds = f1.Label7,
                                .nameLengths = f1.Label8,
                                .serials = f1.Label9,
                                .sumTotal = f1.Label182,
                                .sumFree = f1.Label183,
                                .sumUsed = f1.Label129,
                                .statusBar = f1.StatusBar1,
                                .graphLetters = f2.Label1,
                                .totalBars = f2.Shape1,
                                .freeBars = f2.Shape2,
                                .scaleCaptions = {&f2.Label31, &f2.Label30, &f2.Label29}};
  Services& os = program.os;
  RunReportCycle(program.m, program.reportState, {os.clock, os.files, os.volumes, os.beep, os.notifications},
                 controls);
}

}  // namespace volumetra
