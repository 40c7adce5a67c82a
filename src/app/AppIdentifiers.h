#pragma once

namespace sonvex {

// Names other programs and a second start of this one rely on. Keep them exactly.
inline constexpr char kMainWindowClass[] = "TformSonvex3Main";        // the running instance's address
inline constexpr char kPreviousMainWindowClass[] = "TformSonvexMain"; // the previous major version
inline constexpr char kInstanceMutexName[] = "ArvonSonvexMutex";      // held for the whole run
inline constexpr char kApplicationTitle[] = "Sonvex";
inline constexpr char kTrayArgument[] = "runInTray";

// Commands understood by the running instance (one line each over the local socket).
inline constexpr char kCommandShow[] = "show";                  // user message 0
inline constexpr char kCommandCommsDisable[] = "comms-disable"; // user message 1
inline constexpr char kCommandCommsEnable[] = "comms-enable";   // user message 2
inline constexpr char kCommandQuit[] = "quit";                  // sent to the previous version only

} // namespace sonvex
