#pragma once
// Library calls that cannot look at the Ctrl-C flag themselves.

#include <functional>
#include <string>

// The child running a library call died without its result.
struct TravailAbandonne {};

// Runs TRAVAIL and returns the bytes it produced. With the Ctrl-C handler
// installed it runs in a child process, which Ctrl-C ends at once (the parent
// then throws Interruption) while NOM tells on the progress line how long it
// has been running; otherwise, or when no child can be started, it runs here.
// The child dies with the program; when it dies first (killed, out of
// memory), TravailAbandonne is thrown.
std::string hors_processus(const char* nom, const std::function<std::string()>& travail);

// Called by the work of hors_processus in its child: the progress line then
// shows LIBELLE (a literal), FAIT / TOTAL and the time left, in place of the
// task's name and the time spent. Elsewhere it does nothing.
void signaler_avancement(const char* libelle, long fait, long total);
