#include "setup/view/SetupCellControls.h"

#include "platform/gridview/GridView.h"
#include "setup/SetupGridDefs.h"
#include "setup/view/CArrowRowHeader.h"
#include "setup/view/CFXCheckBox.h"
#include "setup/view/CFXComboBox.h"
#include "setup/view/CFXComboBox3.h"
#include "setup/view/CFXComboBox4.h"
#include "setup/view/CFXEditControl.h"
#include "setup/view/CNumericEditControl.h"

CFXComboBox* RegisterSetupCellControls(tvane::GridView& grid, tvane::MessageTarget& target) {
    using namespace setupgrid;
    tvane::GridCore& core = grid.Core();
    core.RegisterControl(kCtrlArrowHeader, std::make_unique<CArrowRowHeader>(grid));
    auto* list = static_cast<CFXComboBox*>(
        core.RegisterControl(kCtrlDropDown, std::make_unique<CFXComboBox>(grid, target)));
    core.RegisterControl(kCtrlDropDown3, std::make_unique<CFXComboBox3>(grid, target));
    core.RegisterControl(kCtrlUnitsCombo, std::make_unique<CFXComboBox4>(grid, target));
    core.RegisterControl(kCtrlCheckBox, std::make_unique<CFXCheckBox>(grid, target));
    core.RegisterControl(kCtrlNumeric, std::make_unique<CNumericEditControl>(grid, target));
    core.RegisterControl(kCtrlComment, std::make_unique<CFXEditControl>(grid, target));
    return list;
}
