#pragma once

#include <QString>

// Whether the window system has a display for the window of `program`, asked before the
// application object is made, since that ends the process when it finds none. Empty when there is
// one, or where the platform cannot be without one; otherwise one sentence for the user: what is
// missing, and how to start `program` all the same.
QString missingDisplay(const QString &program);
