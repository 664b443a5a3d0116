#pragma once
// Text forms of the settings (the port selector lists them) and the mapping
// between the event set and the device's event mask.
#include "serial/ComTypes.h"
#include <QString>

QString BaudRateToStr(TBaudRate value);
QString StopBitsToStr(TStopBits value);
QString DataBitsToStr(TDataBits value);
QString ParityToStr(TParityBits value);
QString FlowControlToStr(TFlowControl value);

// Case-insensitive; a text that matches no entry gives br9600, sbOneStopBit,
// dbEight, prNone and fcCustom respectively.
TBaudRate StrToBaudRate(const QString &text);
TStopBits StrToStopBits(const QString &text);
TDataBits StrToDataBits(const QString &text);
TParityBits StrToParity(const QString &text);
TFlowControl StrToFlowControl(const QString &text);

std::uint32_t EventsToMask(TComEvents events);
// Bits outside the ten events are ignored.
TComEvents MaskToEvents(std::uint32_t mask);
