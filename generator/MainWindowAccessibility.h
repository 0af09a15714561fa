#pragma once

class QLabel;
class frmMainWindow;
struct PasswordStrength;

// What a screen reader learns about the main window beyond what its captions
// say. Nothing here changes a caption, the layout, an access key, the tab
// order or the keyboard focus.

// Names the controls whose captions do not name them: the arrow buttons, the
// text boxes, the progress bar and the step indicators.
void nameControlsForScreenReaders(frmMainWindow& window);

// Names the step panel after what it shows ("Step 2 of 5") and describes it by
// the tip it shows. When either changes, the panel sends the accessibility
// event of that change, so a screen reader announces the new step and its tip.
void describeStepPanel(frmMainWindow& window);

// Gives the password box the strength of the password it shows, as its
// tooltip and its accessible description.
void showStrengthHint(QLabel& passwordBox, const PasswordStrength& strength);
