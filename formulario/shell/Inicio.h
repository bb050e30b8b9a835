#pragma once

// Start procedure of Tarvel: the host, single-instance and regional checks,
// then the main window.
void Main();
