#pragma once
// quor-raw: the viewer's listings and exports from the command line, for analysis outside TOLM.
// Its output is byte for byte what the selection lists and the plot window saves for the same
// choices.
//
//   quor-raw aircraft DATADIR
//   quor-raw flights DATADIR --aircraft ID --engine N --memory M
//   quor-raw tabulate RAW --flight N [--memory M] --parameter NAME [--mode steady|transient]
//            [--bin B] [--record R] [--window none|Hanning|Hamming] [--xmin X] [--xmax X]
//   quor-raw csv RAW --flight N [--memory M] [--mode steady|transient] [--bin B]
//            [--window none|Hanning|Hamming] [--xmin X] [--xmax X]
//   quor-raw trend DATADIR --esn N [--parameter NAME] [--record R|highest] [--x flight|date]
//   quor-raw status DATADIR [--parameter NAME] [--record R|highest] [--flights N] [--json]
#include <QByteArray>
#include <QStringList>

namespace tolm::viewer {

class QuorRaw {
public:
    static constexpr int kUsageError = 2;  // bad arguments or unreadable files

    // Runs one command line (without the program name); returns the exit status.
    static int run(const QStringList& arguments, QByteArray& out, QByteArray& err);
};

}  // namespace tolm::viewer
