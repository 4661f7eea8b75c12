#pragma once

// What assistive technology meets in the launcher's windows, where Qt's own accessible interfaces
// would not do:
//
// - Reading order. A screen reader walks a window's controls in the order each container lists its
//   children, and Qt lists them in their stacking order, bottom first. The designs stack controls
//   for where they overlap, not for reading: in the launch column each place lies above the place
//   below it, so the column read backwards, and the page-down button came before the places. Every
//   plain container (window, dialog, frame or bare widget) therefore lists its children as the eye
//   meets them: top to bottom, and left to right among those whose tops are level. What lies above
//   what, the painting and the focus order stay as they are.
// - A LinkPicture reads as a link whose name is its address, and its press action follows it.
//
// Installed once, after the application object is made and before the first window; windows made
// without it read as Qt has them.
void installAccessibleInterfaces();
