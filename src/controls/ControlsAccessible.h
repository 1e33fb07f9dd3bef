#pragma once

/// Makes the painted controls known to assistive technology: a tool bar button is a button
/// named after its command (pressable), a dial edit's step buttons are buttons, a tool bar
/// divider is a separator. Installed once; every control's constructor calls it.
void InstallControlsAccessibility();
