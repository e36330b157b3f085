#pragma once

namespace tvane {
class GridView;
class MessageTarget;
} // namespace tvane

class CFXComboBox;

// Registers the setup grid's cell controls with the grid, in the order the
// view has always registered them (510 row header arrow, 511 drop-down list,
// 533 alarm output list, 535 units combo, 513 check box, 531 numeric edit, 534
// comment edit); their messages go to the target. Returns the drop-down list,
// whose items the view fills.
CFXComboBox* RegisterSetupCellControls(tvane::GridView& grid, tvane::MessageTarget& target);
