#include "controls/RegisterControls.h"

#include "controls/TBevel.h"
#include "controls/TBitBtn.h"
#include "controls/TButtonControl.h"
#include "controls/TCalendar.h"
#include "controls/TComboBox.h"
#include "controls/TCustomPanel.h"
#include "controls/TEdit.h"
#include "controls/TImage.h"
#include "controls/TLabel.h"
#include "controls/TProgressBar.h"
#include "controls/TUpDown.h"
#include "frame/StreamClasses.h"

namespace controls {

void RegisterStreamClasses() {
    frame::RegisterStreamClasses(
        {TCustomPanel::StaticClass(), TPanel::StaticClass(), TBevel::StaticClass(),
         TImage::StaticClass(), TButtonControl::StaticClass(), TButton::StaticClass(),
         TBitBtn::StaticClass(), TCalendar::StaticClass(), TUpDown::StaticClass(),
         TLabel::StaticClass(), TEdit::StaticClass(), TComboBox::StaticClass(),
         TProgressBar::StaticClass()});
}

} // namespace controls
