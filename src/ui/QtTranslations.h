#pragma once

class QTranslator;

/// Installs Qt's own Spanish texts (the buttons of message boxes, the file dialog, the context
/// menus of text fields) whatever the system's locale, since the whole window speaks Spanish.
/// Returns the translator, owned by the application (deleting it uninstalls it), or nullptr
/// when Qt's Spanish catalogue is not installed: Qt then keeps its English texts.
QTranslator* InstallQtSpanishTranslations();
