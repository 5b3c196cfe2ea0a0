#pragma once
// Stored filters of a grid: the readable name proposed for the dataset's
// current filter when it is stored.

#include <QString>

class TDataSet;

// The filter text without brackets, field names replaced by their display
// labels where they stand as names (not inside quoted values).
QString PresetFilterName(TDataSet* Dataset);
