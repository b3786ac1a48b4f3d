#pragma once

#include <QtPrintSupport/QPrinter>
