#pragma once
// The library's improved controls in one include: group box with its child
// lay-out, tab and page controls, numeric edit, multi-column combo box,
// pop-up calendar, list boxes, scalable image list, button, highlighting
// memo and rich text editor. Each class lives in its own file.

#include "components/base/rButton.h"
#include "components/base/rComboBoxEx.h"
#include "components/base/rEditNum.h"
#include "components/base/rGroupBox.h"
#include "components/base/rImageListEx.h"
#include "components/base/rListBoxes.h"
#include "components/base/rMemoEx.h"
#include "components/base/rPopupMonthCalendar.h"
#include "components/base/rRichEdit.h"
#include "components/base/rTabControlEx.h"
