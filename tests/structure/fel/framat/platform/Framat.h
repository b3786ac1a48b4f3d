#pragma once

#include <QtGlobal>

// Qt's own macro that declares a class ahead, for inline code below.
QT_FORWARD_DECLARE_CLASS(QWidget)
