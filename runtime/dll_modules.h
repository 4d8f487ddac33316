// The modules loaded for declared DLL commands, and the calls that run in them. Worker
// threads may still be inside a DLL routine (an echo waiting for its reply) when the main
// thread ends the program, so the shutdown frees the modules only while no call is in flight.
#pragma once

// Counts a DLL call in. False once the shutdown has freed the modules: no routine may then
// be called, and the caller must not make the call. While a call that was in flight at the
// shutdown keeps them loaded, calls go on.
bool BeginDllCall();
void EndDllCall();

// The shutdown's step for the DLL command modules: marks the end as begun, then frees every
// module loaded for a DLL command and empties the command arrays, unless a call is still in
// flight; the modules then stay loaded until the process ends a moment later.
void ReleaseDllModules();
