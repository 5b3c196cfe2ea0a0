#pragma once
// The pictures of the funnel value list's tool bar and of the condition
// dialog's period button, drawn at run time (16 x 16, transparent).

class TComponent;
class TImageList;

// 0 enter a condition (funnel and pencil), 1 clear (funnel and red cross),
// 2 select all (check mark), 3 none selected (empty box).
TImageList* MakeFunnelListImages(TComponent* Owner);
// The period button's picture, a calendar page, sits at index 8 of the
// dialog images; the places before it stay empty.
TImageList* MakePeriodImages(TComponent* Owner);
constexpr int PeriodImageIndex = 8;
