// Keeps the next-month view on the month after the main view's month.
#include "month_sync.h"

#include "main_window.h"

namespace dv {

YearMonth monthAfter(int year, int month) {
    return month >= 12 ? YearMonth{year + 1, 1} : YearMonth{year, month + 1};
}

void MainWindow::AdjDate() {
    const YearMonth next = monthAfter(mv1.Value().year, mv1.Month());
    // One write, so that the view's day settles at most once; past the end
    // of the range the view stays on its last month.
    mv3.setValue({next.year, next.month, mv3.Value().day});
}

void MainWindow::mnurefresh_Click() {
    mv1.setValue(services_.clock.now().date);
    AdjDate();
}

void MainWindow::mv1_Click() { AdjDate(); }
void MainWindow::mv1_DblClick() { AdjDate(); }
// The arrows, the keyboard and the today link change the selection too.
void MainWindow::mv1_SelChange() { AdjDate(); }

}  // namespace dv
