#pragma once

struct TKeyContext;

// The keys of each control type, one function per type (the rows of
// ControlTypes.cpp name them). Each answers whether the key was its own.
bool applyButtonKey(TKeyContext &k);
bool applySpeedButtonKey(TKeyContext &k);
bool applyPanelKey(TKeyContext &k);
bool applyParentPanelKey(TKeyContext &k);
bool applySplitterKey(TKeyContext &k);
bool applyLabelKey(TKeyContext &k);
bool applyTrackBarKey(TKeyContext &k);
bool applyEditBoxKey(TKeyContext &k);
bool applyCheckBoxKey(TKeyContext &k);
bool applyRadioButtonKey(TKeyContext &k);
bool applyProgressBarKey(TKeyContext &k);
bool applySpinEditKey(TKeyContext &k);
bool applyComboBoxKey(TKeyContext &k);
bool applyListBoxKey(TKeyContext &k);
bool applyScrollBoxKey(TKeyContext &k);
bool applyTreeKey(TKeyContext &k);
bool applyHtmlKey(TKeyContext &k);
// Types whose own controls are still to come keep their action for the
// dispatcher.
bool applyPlaceholderKey(TKeyContext &k);
