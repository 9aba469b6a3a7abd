// Library search hardening: the installer runs with the highest rights its user has, usually
// from a Downloads folder full of other files, so no library may be picked up from there.
#pragma once

// Restricts LoadLibrary by name to the system folder (and drops the current folder).
// Call first in WinMain, before anything loads a library by name. True when the restriction
// to the system folder is in force; false when only the current folder could be dropped.
bool RestrictLibrarySearchToSystemFolder();
