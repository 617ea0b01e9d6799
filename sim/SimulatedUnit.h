#pragma once
// What the simulated unit holds and how it answers each command: its part numbers, the bearing
// data of both engines (generated from a seed, gone after an erase), what was uploaded to it,
// and the faults it has been told to show. Thread-safe; the network side is UnitSimulator.
#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

namespace quorsim {

// The texts the unit reports, as it stores them (at most 16 bytes each, no terminator needed).
struct PartNumbers {
    QByteArray unit, bootMain, main, bootDsp, dsp, config;

    static PartNumbers compatible();      // this program's versions, with revision suffixes
    static PartNumbers mainUploadMode();  // the main software part number only
    static PartNumbers incompatible();    // an older main software
};

enum class FaultKind {
    Ack,                 // the answer carries ack = value and no blocks
    InvalidBlockType,    // the first block's type is value (7 when 0)
    ByteCountOverLimit,  // the first block claims 16777216 bytes
    Truncated,           // the first block claims more bytes than the response holds
    SizeWord,            // the size word reads value; only that many bytes are sent when fewer
    CloseMidResponse,    // value bytes of the answer (0: half of it), then the connection is closed
    NoAnswer,            // the command is read and never answered
    SlowAnswer,          // the answer comes after value milliseconds
    CloseAfterAnswer,    // the whole answer, then the connection is closed
};

struct Fault {
    FaultKind kind;
    quint32 command = 0;  // 0: any command
    quint32 value = 0;
    int times = 1;  // -1: for ever
    int after = 0;  // matching commands answered normally before the fault applies
};

struct ReceivedCommand {
    quint32 code = 0;
    std::vector<quint32> payload;
};

// How one command is answered.
struct Reply {
    QByteArray bytes;
    int delayMs = 0;
    bool silent = false;
    qsizetype closeAfter = -1;  // bytes sent before the connection is closed; -1: all
};

// Uploads: each kind's packets are stored as they come, a new upload of a kind replacing the
// last one. With reboots switched on, the unit reinitialises after an upload whose packets were
// all taken: the first command that is not one of its packets finds the connection dead (it is
// closed without an answer), as does the end of that connection; the unit then serves the part
// numbers it has after the reboot (after main software: its full set, so Main Upload Mode
// ends). A packet refused or cut off by a fault ends the upload without a reboot.
class SimulatedUnit {
public:
    SimulatedUnit();

    void setPartNumbers(const PartNumbers& numbers);
    void setSeed(quint32 seed);
    void setEraseDurationMs(quint32 command, int ms);
    void addFault(const Fault& fault);
    void clearFaults();
    // Gives both engines their bearing data back, as generated from the seed (a new download
    // generates it afresh), as if nothing had been erased.
    void restoreBearingData();
    // Forgets the commands received so far.
    void clearCommands();
    // Switches the reboot after an upload on (off at first).
    void setRebootAfterUpload(bool on);
    // The connection that died with a reboot goes quiet instead of being closed: what is sent
    // on it is never answered, and it stays open until the other side closes it.
    void setRebootQuietly(bool on);
    // The part numbers served after the next reboot, instead of the rule above.
    void setPartNumbersAfterReboot(const PartNumbers& numbers);
    // Keeps each kind's upload also as a text file in this folder, one word a line ("%08x"):
    // "main-software.txt", "dsp-software.txt", "config-table.txt". Empty: no files.
    void setUploadDirectory(const QString& directory);

    Reply handle(const ReceivedCommand& command);
    // The connection that carried an upload has ended: a pending reboot takes place.
    void connectionEnded();

    std::vector<ReceivedCommand> commands() const;
    // The payload bytes of every packet of one upload command, in the order they came.
    QByteArray uploaded(quint32 command) const;
    // The words of the last upload of one command, as the unit took them.
    std::vector<quint32> uploadedWords(quint32 command) const;
    // How often the unit has reinitialised after an upload.
    int reboots() const;
    bool bearingDataErased(int engine) const;
    // The name of the file that keeps an upload command's words.
    static QString uploadFileName(quint32 command);

private:
    Reply answer(const ReceivedCommand& command);
    QByteArray download(int engine);
    static QByteArray partNumberData(const PartNumbers& numbers);
    static void applyFault(const Fault& fault, Reply& reply);
    void storePacket(const ReceivedCommand& command);
    void reboot();

    mutable std::mutex mutex_;
    PartNumbers partNumbers_;
    quint32 seed_ = 1;
    std::map<quint32, int> eraseMs_;
    std::vector<Fault> faults_;
    std::vector<ReceivedCommand> commands_;
    std::map<quint32, QByteArray> uploads_;
    quint32 uploading_ = 0;  // the command of the upload under way, 0 when none
    bool rebootAfterUpload_ = false;
    bool rebootQuietly_ = false;
    bool rebootPending_ = false;
    bool mainSoftwareLoaded_ = false;
    int reboots_ = 0;
    std::optional<PartNumbers> afterReboot_;
    QString uploadDirectory_;
    bool erased_[2] = {false, false};
    QByteArray images_[2];  // wire responses generated so far
};

}  // namespace quorsim
