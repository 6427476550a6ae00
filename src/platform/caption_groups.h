#pragma once

#include <vector>

#include "platform/form.h"

namespace volumetra {

/// Whether the caption of `c` is fitted to the control's size: a label of fixed size (a label that
/// sizes itself to its caption needs no fitting).
bool FitsCaption(const Control& c);

/// Whether a fitted label wraps its caption at word boundaries: it is tall enough for two lines
/// of its font. A one-line label (a table cell) keeps its caption on one line.
bool WrapsCaption(const Control& c);

/// Fitted labels whose captions are drawn at one size, the largest at which every caption of them
/// fits, so that a table reads evenly: the elements of a control array (a column of the table,
/// read down), and the single labels that the design puts into one size group
/// (ControlDesign::sizeGroup). Groups of one are left out.
std::vector<std::vector<Control*>> CaptionSizeGroups(const Form& form);

/// Fitted labels whose captions (their first lines) stand on one baseline: those designed on one
/// row, in one container at one top (a row of the table, read across). Rows of one are left out.
std::vector<std::vector<Control*>> CaptionRows(const Form& form);

}  // namespace volumetra
