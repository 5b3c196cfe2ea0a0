#pragma once
// The state of an in-place editor's button that its painting needs beyond
// the pressed look: whether the mouse is over it (the themed hot look).

class TInplaceEdit;

bool InplaceButtonHot(const TInplaceEdit* Edit);
