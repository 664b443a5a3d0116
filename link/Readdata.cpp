#include "link/Readdata.h"
#include "serial/ComPort.h"
#include "toolkit/CheckByte.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <vector>

namespace {

std::atomic<MemoryAreaTable> areaTable{MemoryAreaTable::Configurator};

struct AreaPair {
    std::uint8_t write;
    std::uint8_t read;
};

// Indexed by area number 1..7.
constexpr AreaPair VoiceAreas[] = {{0x06, 0x07}, {0x01, 0x02}, {0x03, 0x04}, {0x08, 0x09},
                                   {0x12, 0x13}, {0x16, 0x17}, {0x0A, 0x0B}};
constexpr AreaPair ConfiguratorAreas[] = {{0x06, 0x07}, {0x01, 0x02}, {0x03, 0x04},
                                          {0x08, 0x09}, {0x12, 0x13}, {0x0A, 0x0B}};

const char *const BuiltInMessages[StatusMessageCount] = {
    "Невозможно открыть ",
    "Идентификация...",
    "Передача данных в память контроллера...",
    "Ошибка порта ",
    "Чтение данных из памяти контроллера...",
    "Программирование завершено успешно",
    "Ошибка, найдены несоответствия в данных",
    "Данные считаны",
    "Данные в памяти контроллера аналогичны текущим",
    "Данные в памяти контроллера отличаются от текущих",
    "Версия устройства считана",
    "Данные переданы",
    "Перезагрузка устройства инициированна",
    "Нет корректного ответа от устройства",
    "Нет ответа от устройства",
    "Ошибка передачи данных, код 1",
    "Ошибка передачи данных, код 2",
    "Ошибка передачи данных, код 3",
    "Внутренняя ошибка взаимодействия с FLASH памятью",
    "Взаимодействие запрещено без указания пароля, команды чтения/записи и ряд управляющих команд не могут быть выполнены",
};

const char *const InvalidAreaText = "Ошибка идентификатора области FLASH памяти";

enum : int {
    msgCannotOpen = 0,
    msgIdentifying = 1,
    msgWriting = 2,
    msgPortError = 3,
    msgReading = 4,
    msgProgrammed = 5,
    msgProgramMismatch = 6,
    msgDataRead = 7,
    msgCompareEqual = 8,
    msgCompareDiffer = 9,
    msgIdentified = 10,
    msgSent = 11,
    msgRestarting = 12,
    msgNoCorrectReply = 13,
    msgNoReply = 14,
    msgTransferCode1 = 15,
    msgTransferCode2 = 16,
    msgTransferCode3 = 17,
    msgFlashError = 18,
    msgPasswordNeeded = 19,
};

// Operations 3..11: which exchange, its command, its success message.
struct CommandOperation {
    bool read;
    std::uint8_t command;
    int success;
};
constexpr CommandOperation CommandOperations[] = {
    {true, 0x05, msgIdentified},   // opIdentify
    {true, 0x0C, msgDataRead},     // opReadState
    {false, 0x0D, msgSent},        // opSetClock
    {true, 0x0E, msgDataRead},     // opReadTouchKey
    {false, 0x0F, msgSent},        // opReconfigure
    {false, 0x10, msgRestarting},  // opRestart
    {false, 0x11, msgSent},        // opSendPassword
    {false, 0x14, msgSent},        // opControl
    {true, 0x15, msgDataRead},     // opRead15
};

void PutU16(std::uint8_t *p, std::uint32_t v)
{
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

void PutU32(std::uint8_t *p, std::uint32_t v)
{
    PutU16(p, v);
    PutU16(p + 2, v >> 16);
}

} // namespace

void SelectMemoryAreaTable(MemoryAreaTable table)
{
    areaTable.store(table);
}

bool AreaCommands(int area, std::uint8_t &writeCommand, std::uint8_t &readCommand)
{
    const bool voice = areaTable.load() == MemoryAreaTable::VoiceProgrammer;
    const int count = voice ? int(std::size(VoiceAreas)) : int(std::size(ConfiguratorAreas));
    if (area < 1 || area > count)
        return false;
    const AreaPair &pair = voice ? VoiceAreas[area - 1] : ConfiguratorAreas[area - 1];
    writeCommand = pair.write;
    readCommand = pair.read;
    return true;
}

std::uint8_t FrameChecksum(const std::uint8_t *bytes, int count)
{
    return CheckByte({bytes, static_cast<size_t>(std::max(count, 0))});
}

void FillStatusMessages(QStringList *list)
{
    if (list == nullptr)
        return;
    for (const char *text : BuiltInMessages)
        list->append(QString::fromUtf8(text));
}

TReadData::TReadData(bool CreateSuspended, std::int8_t operation, std::int8_t area, void *data, std::int32_t length,
                     std::uint32_t baseAddress, TCustomComPort *port, IProgressBar *progressBar,
                     IStatusLabel *statusLabel)
    : port(port), operation(operation), area(area), data(data), length(length), baseAddress(baseAddress),
      progressBar(progressBar), statusLabel(statusLabel), messages(nullptr)
{
    SetReturnValue(1);
    FillStatusMessages(&ownMessages);
    messages = &ownMessages;
    if (!CreateSuspended)
        Resume();
}

TReadData::TReadData(bool CreateSuspended, std::int8_t operation, void *data, std::int32_t length,
                     TCustomComPort *port, IStatusLabel *statusLabel)
    : TReadData(CreateSuspended, operation, 0, data, length, 0, port, nullptr, statusLabel)
{
}

TReadData::~TReadData()
{
    WaitFor();
}

void TReadData::SetMessages(const QStringList *list)
{
    messages = list != nullptr ? list : &ownMessages;
}

QString TReadData::Message(int index) const
{
    // A short list from the creator falls back to the built-in text.
    if (messages != nullptr && index < messages->size())
        return messages->at(index);
    return ownMessages.at(index);
}

void TReadData::ShowStatus(const QString &text, TColor colour)
{
    if (statusLabel != nullptr)
        statusLabel->ShowStatus(text, colour);
}

void TReadData::ShowFailure(int index)
{
    ShowStatus(Message(index), clRed);
}

void TReadData::ShowPortFailure()
{
    ShowStatus(Message(msgPortError) + port->Port(), clRed);
}

void TReadData::DiscardLeadingByte()
{
    std::uint8_t leading;
    port->Read(&leading, 1);
}

int TReadData::BuildFrame(std::uint8_t command, const std::uint8_t *payload, int payloadLength)
{
    // The payload may already stand at offset 4 (area writes put it there).
    if (payload != nullptr && payload != request + 4)
        std::memcpy(request + 4, payload, payloadLength);
    request[0] = FrameStart;
    request[1] = command;
    PutU16(request + 2, static_cast<std::uint32_t>(payloadLength));
    request[4 + payloadLength] = FrameChecksum(request + 1, 3 + payloadLength);
    return payloadLength + 5;
}

int TReadData::SendAndReceive(int size, int expected)
{
    int n = 0;
    for (int send = 0; send < 3; ++send) {
        port->ClearBuffer(true, true);
        port->Write(request, size);
        n = port->Read(reply, expected);
        if (n == expected)
            break;
    }
    return n;
}

bool TReadData::SendAndJudge(int size, const ReplyShape &shape)
{
    const int failure = ReplyFailure(SendAndReceive(size, shape.expected), shape);
    if (failure < 0)
        return true;
    ShowFailure(failure);
    return false;
}

int TReadData::ReplyFailure(int n, const ReplyShape &shape) const
{
    if (n != shape.expected)
        return shape.missingIsTransferError ? msgTransferCode1 : n == 0 ? msgNoReply : msgNoCorrectReply;
    if (FrameChecksum(reply + 1, n - 2) != reply[n - 1])
        return msgTransferCode2;
    const bool echoed = reply[0] == request[0] && reply[1] == request[1] &&
                        std::memcmp(reply + 4, request + 4, static_cast<size_t>(shape.echoed)) == 0;
    const std::uint8_t status = shape.statusAt > 0 ? reply[shape.statusAt] : 0;
    if (echoed && status == 0)
        return -1;
    // A status of 1 wins over a wrong echo.
    if (status == 1)
        return msgFlashError;
    return status == 2 && shape.passwordStatus ? msgPasswordNeeded : msgTransferCode3;
}

int TReadData::ExchangeCommandRead(void *out, std::uint8_t command)
{
    if (length < 0 || length > MaxFramePayload || (out == nullptr && length > 0)) {
        ShowFailure(msgNoCorrectReply);
        return 1;
    }
    try {
        DiscardLeadingByte();
        if (!SendAndJudge(BuildFrame(command, nullptr, 0), {.expected = length + 5}))
            return 1;
        if (length > 0)
            std::memcpy(out, reply + 4, static_cast<size_t>(length));
        return 0;
    } catch (...) {
        ShowPortFailure();
        return 1;
    }
}

int TReadData::ExchangeCommandSend(const void *payload, std::uint8_t command)
{
    if (length < 0 || length > MaxFramePayload || (payload == nullptr && length > 0)) {
        ShowFailure(msgNoCorrectReply);
        return 1;
    }
    try {
        DiscardLeadingByte();
        const int size = BuildFrame(command, static_cast<const std::uint8_t *>(payload), length);
        return SendAndJudge(size, {.expected = 6, .statusAt = 4, .passwordStatus = true}) ? 0 : 1;
    } catch (...) {
        ShowPortFailure();
        return 1;
    }
}

int TReadData::ExchangeAreaWrite(const void *source)
{
    return ExchangeArea(true, static_cast<std::uint8_t *>(const_cast<void *>(source)));
}

int TReadData::ExchangeAreaRead(void *out)
{
    return ExchangeArea(false, static_cast<std::uint8_t *>(out));
}

int TReadData::ExchangeArea(bool write, std::uint8_t *bytes)
{
    if (length < 0 || (bytes == nullptr && length > 0)) {
        ShowFailure(msgNoCorrectReply);
        return 1;
    }
    try {
        if (progressBar != nullptr) {
            progressBar->SetPosition(0);
            progressBar->SetMax(length);
        }
        DiscardLeadingByte();
        std::uint8_t writeCommand, readCommand;
        if (!AreaCommands(area, writeCommand, readCommand)) {
            ShowStatus(QString::fromUtf8(InvalidAreaText), clRed);
            return 1;
        }
        std::int32_t done = 0;
        do {
            const std::int32_t count = std::min(length - done, AreaBlockSize);
            PutU32(request + 4, baseAddress + static_cast<std::uint32_t>(done));
            PutU16(request + 8, static_cast<std::uint32_t>(count));
            // Both echo the address and the count. A write's refused password is a
            // transfer error; a read reports any missing reply as one.
            if (write) {
                if (count > 0)
                    std::memcpy(request + 10, bytes + done, static_cast<size_t>(count));
                if (!SendAndJudge(BuildFrame(writeCommand, request + 4, count + 6),
                                  {.expected = 13, .echoed = 6, .statusAt = 10}))
                    return 1;
            } else {
                request[10] = 0;
                request[11] = 0;
                if (!SendAndJudge(BuildFrame(readCommand, request + 4, 8),
                                  {.expected = count + 11, .echoed = 6, .missingIsTransferError = true}))
                    return 1;
                if (count > 0)
                    std::memcpy(bytes + done, reply + 10, static_cast<size_t>(count));
            }
            done += count;
            if (progressBar != nullptr)
                progressBar->SetPosition(done);
        } while (done < length);
        return 0;
    } catch (...) {
        ShowPortFailure();
        return 1;
    }
}

void TReadData::Execute()
{
    // Allocated once per worker; only the area operations use it.
    std::vector<std::uint8_t> buffer;
    if (operation >= opReadArea && operation <= opCompareArea && length > 0)
        buffer.resize(static_cast<size_t>(length));

    if (port == nullptr)
        return;
    bool opened = true;
    try {
        port->Open();
    } catch (...) {
        // Also when the port stays open: its OnAfterOpen or line signals failed.
        opened = false;
    }
    if (!opened || !port->Connected()) {
        ShowStatus(Message(msgCannotOpen) + port->Port(), clRed);
    } else if (operation >= opReadArea && operation <= opRead15) {
        if (operation == opReadArea || operation == opCompareArea) {
            ShowStatus(Message(msgIdentifying), clBlack);
            ShowStatus(Message(msgReading), clBlack);
        } else if (operation == opProgramArea) {
            ShowStatus(Message(msgIdentifying), clBlack);
            ShowStatus(Message(msgWriting), clBlack);
        }
        bool binary = false;
        try {
            port->ClearBuffer(true, true);
            port->Write(BinaryModeCommand, BinaryModeCommandLength);
            binary = true;
        } catch (...) {
            ShowPortFailure();
        }
        if (binary) {
            if (operation > opCompareArea)
                ShowStatus(Message(msgIdentifying), clBlack);
            if (RunOperation(buffer.data()) == 0)
                SetReturnValue(0);
        }
    }
    try {
        if (port->Connected())
            port->Close();
    } catch (...) {
    }
}

int TReadData::RunOperation(std::uint8_t *buffer)
{
    switch (operation) {
    case opReadArea:
        if (ExchangeAreaRead(buffer) != 0)
            return 1;
        if (length > 0)
            std::memcpy(data, buffer, static_cast<size_t>(length));
        ShowStatus(Message(msgDataRead), clBlue);
        return 0;
    case opProgramArea:
        if (ExchangeAreaWrite(data) != 0)
            return 1;
        ShowStatus(Message(msgReading), clBlack);
        if (ExchangeAreaRead(buffer) != 0)
            return 1;
        if (!SameBytes(buffer)) {
            ShowFailure(msgProgramMismatch);
            return 1;
        }
        ShowStatus(Message(msgProgrammed), clBlue);
        return 0;
    case opCompareArea:
        if (ExchangeAreaRead(buffer) != 0)
            return 1;
        if (!SameBytes(buffer)) {
            ShowFailure(msgCompareDiffer);
            return 1;
        }
        ShowStatus(Message(msgCompareEqual), clBlue);
        return 0;
    default: {
        const CommandOperation &op = CommandOperations[operation - opIdentify];
        const int result = op.read ? ExchangeCommandRead(data, op.command) : ExchangeCommandSend(data, op.command);
        if (result != 0)
            return 1;
        ShowStatus(Message(op.success), clBlue);
        return 0;
    }
    }
}

bool TReadData::SameBytes(const std::uint8_t *buffer) const
{
    return length <= 0 || std::memcmp(buffer, data, static_cast<size_t>(length)) == 0;
}

void StartWorker(TReadData &worker, const QStringList *messages)
{
    worker.SetPriority(TThreadPriority::tpNormal);
    worker.SetMessages(messages);
    worker.Resume();
}

int RunWorker(TReadData &worker, const QStringList *messages)
{
    StartWorker(worker, messages);
    return worker.WaitFor();
}
