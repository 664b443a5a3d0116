#pragma once
// The controller link: one worker thread carries out one controller operation
// over the serial port, from opening the port to closing it.
#include "toolkit/StatusView.h"
#include "toolkit/Thread.h"

#include <QString>
#include <QStringList>
#include <cstdint>

class TCustomComPort;

enum ReadDataOperation : std::int8_t {
    opReadArea = 0,
    opProgramArea = 1,
    opCompareArea = 2,
    opIdentify = 3,
    opReadState = 4,
    opSetClock = 5,
    opReadTouchKey = 6,
    opReconfigure = 7,
    opRestart = 8,
    opSendPassword = 9,
    opControl = 10,
    opRead15 = 11,
};

enum MemoryArea : std::int8_t {
    maConfigImage = 1,
    maVoiceImage = 2,
    maArea3 = 3,
    maModeMemory = 4,
    maSystemParameters = 5,
    maArea6 = 6,
    maArea7 = 7,
};

// The configurator knows six areas (its 6 selects the commands of area 7);
// the voice programmer knows all seven. Each program picks its table once, at start.
enum class MemoryAreaTable { Configurator, VoiceProgrammer };
void SelectMemoryAreaTable(MemoryAreaTable table);
// The write and read command of an area; false for an area the table lacks.
bool AreaCommands(int area, std::uint8_t &writeCommand, std::uint8_t &readCommand);

constexpr std::uint8_t FrameStart = 0x05;
constexpr int FrameBufferSize = 300;
constexpr int MaxFramePayload = FrameBufferSize - 5;
constexpr int AreaBlockSize = 256;
constexpr char BinaryModeCommand[] = {'B', 'I', 'N', 'A', 'R', 'Y', '\r'};
constexpr int BinaryModeCommandLength = sizeof BinaryModeCommand;

// CheckByte of count bytes; of none for a count of 0 or less.
std::uint8_t FrameChecksum(const std::uint8_t *bytes, int count);

constexpr int StatusMessageCount = 20;
// Appends the 20 built-in status texts; nothing for a null list.
void FillStatusMessages(QStringList *list);

class TReadData : public TThread {
public:
    TReadData(bool CreateSuspended, std::int8_t operation, std::int8_t area, void *data, std::int32_t length,
              std::uint32_t baseAddress, TCustomComPort *port, IProgressBar *progressBar, IStatusLabel *statusLabel);
    TReadData(bool CreateSuspended, std::int8_t operation, void *data, std::int32_t length, TCustomComPort *port,
              IStatusLabel *statusLabel);
    // Deleting a running worker waits until its operation has finished.
    ~TReadData() override;

    // The creator's list of the 20 status texts (not owned); null gives the built-in texts.
    void SetMessages(const QStringList *messages);
    const QStringList *Messages() const { return messages; }

    // The exchanges of one connection; 0 on success, 1 after a red message.
    int ExchangeCommandRead(void *data, std::uint8_t command);
    int ExchangeCommandSend(const void *data, std::uint8_t command);
    int ExchangeAreaWrite(const void *data);
    int ExchangeAreaRead(void *out);

protected:
    void Execute() override;

private:
    // What a reply must be besides its check byte.
    struct ReplyShape {
        int expected = 0;                    // its exact byte count
        int echoed = 0;                      // request bytes from offset 4 it repeats
        int statusAt = 0;                    // offset of its status byte; 0 for none
        bool passwordStatus = false;         // status 2 has its own message
        bool missingIsTransferError = false; // a wrong count is a transfer error
    };

    QString Message(int index) const;
    void ShowStatus(const QString &text, TColor colour);
    void ShowFailure(int index);
    void ShowPortFailure();
    void DiscardLeadingByte();
    // Sends the request frame of total size `size` up to three times until a reply of
    // `expected` bytes came; n is what came after the last send.
    int SendAndReceive(int size, int expected);
    // Both area exchanges: the block loop of a write (from bytes) or a read (into bytes).
    int ExchangeArea(bool write, std::uint8_t *bytes);
    int BuildFrame(std::uint8_t command, const std::uint8_t *payload, int payloadLength);
    // SendAndReceive, then the reply judged as ReplyFailure does; false after its red message.
    bool SendAndJudge(int size, const ReplyShape &shape);
    // The message of the first fault of a reply of n bytes, in the order count, check byte,
    // start byte, command and echoed bytes, status; -1 for none.
    int ReplyFailure(int n, const ReplyShape &shape) const;
    int RunOperation(std::uint8_t *buffer);
    bool SameBytes(const std::uint8_t *buffer) const;

    TCustomComPort *port;
    std::int8_t operation;
    std::int8_t area;
    void *data;
    std::int32_t length;
    std::uint32_t baseAddress;
    IProgressBar *progressBar;
    IStatusLabel *statusLabel;
    const QStringList *messages;
    QStringList ownMessages;

    std::uint8_t request[FrameBufferSize];
    std::uint8_t reply[FrameBufferSize];
};

// The creator's part of a worker's life: normal priority, the window's status
// texts (null: the built-in ones), resumed. Deleting the worker then waits
// for its end.
void StartWorker(TReadData &worker, const QStringList *messages);
// Started, and waited for: the worker's result, 0 on success.
int RunWorker(TReadData &worker, const QStringList *messages);
