#pragma once

// Makes the board, the status bar and the statistics window readable by
// screen readers: installs, once, the accessible interfaces of the program's
// own controls (the dominoes, the status panels, the best players' rows).
void installAccessibleFactory();
