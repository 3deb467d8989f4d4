#pragma once

// The processes of the load run (bench_load): a worker doing complete
// work-sheet jobs through the functions the windows call, and a searcher
// reading the main window's lists. Each runs on a connection of its own (the
// program's shared connection is one per process) and reports to the
// coordinator on its standard output, one event a line:
//
//   sheet S W J                 job J of worker W created sheet S
//   op KIND MS W J              an operation finished in MS milliseconds
//   retry KIND CODE W J         a deadlock (1213) or lock wait (1205) rolled
//                               the operation back; it runs again
//   lost KIND CODE I W J        the connection was lost during the operation
//                               (I 1: the statement had reached the server)
//   recovered KIND MS STORED W J  the operation completed MS ms after the
//                               loss; STORED 1: the check found that the
//                               interrupted statement had run, and nothing
//                               was sent again
//   job S LINES EMPLOYEES W J   job J done on sheet S
//   failed W J KIND TEXT...     job J given up, with the reason
//   conflicts D L W 0           the deadlocks (D) and lock waits (L) the
//                               program's units of work ran again by themselves
//   end W                       the worker is done
//
// The searcher is worker 0 and counts its searches in place of jobs; it
// reports "op search", "lost", "recovered", "failed" and "end" lines.

#include <QString>

namespace kml::bench {

// The name the workers record on their sheets: "Terhelés <worker>".
QString LoadUserName(int worker);

struct WorkerSetup {
    QString database;
    int worker = 1; // 1 and up
    int jobs = 500;
    // Every job for the same customer and device (the demo's first): the
    // most the workers can contend for the same rows.
    bool oneCustomer = false;
    // How long a lost server is waited for before the job is given up.
    int patienceSeconds = 120;
};

// Runs the worker's jobs; the exit code is 0 when every job was done.
int RunLoadWorker(const WorkerSetup& setup);

// Searches the lists until the file stopFile exists.
int RunLoadSearcher(const QString& database, const QString& stopFile);

} // namespace kml::bench
