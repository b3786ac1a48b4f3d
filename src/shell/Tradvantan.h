#pragma once

class QThread;

// Waits for a thread that has been started while this thread's event loop
// runs, user input held back: the windows repaint but take no click or key.
// The thread may be done before the wait begins (work that fails at once):
// its end is never missed, and a thread already done is not waited for.
void vantaPaTrad(QThread& trad);
