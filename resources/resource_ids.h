#pragma once
// Resource identifiers shared by app.rc and the code. Plain #defines: windres and rc read this too.
#define IDR_MANIFEST 1        // CREATEPROCESS_MANIFEST_RESOURCE_ID
#define IDI_PROGRAM 1         // the program file's icon (lowest id: what the shell shows)
#define IDI_MAIN_WINDOW 2     // the main window's title-bar and taskbar icon
#define IDR_SPEAKER_PNG 101   // the small picture before the hint line (RCDATA, PNG)
#define IDR_ABOUT_BANNER_PNG 102  // the About window's picture (RCDATA, PNG)
