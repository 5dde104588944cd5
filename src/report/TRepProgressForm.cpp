#include "report/TRepProgressForm.h"

namespace report {

std::unique_ptr<TRepProgressForm> TRepProgressForm::ForPrint(TRepPrinter&) {
    return nullptr;
}

} // namespace report
