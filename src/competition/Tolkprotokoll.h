#pragma once

#include <chrono>

// What the program and the scoring machines (SAM 4000 and RIKA) say to each
// other on the serial line, as far as the link test of the settings and the
// link of result entry share it. The line is 9600,N,8,1 (Serieport).
namespace Tolkprotokoll {

// SAM 4000: the start says whether cards carry bar codes, then ACK. A poll is
// ENQ; a machine without a card answers NAK, one with a card its frame, which
// ends with "$".
constexpr char SamStart = '\xB2';
constexpr char SamStartMedStreckkod = '\xB1';
constexpr char Ack = 0x06;
constexpr char Enq = 0x05;
constexpr char Nak = 0x15;
constexpr char SamRamslut = '$';

// RIKA: the start is FF (form feed) and 0xD4, which the machine answers with
// three characters. A poll is SYN; a machine without a card answers NUL, one
// with a card SOH, the card, and EOT with one more character after it.
constexpr char RikaStart = 0x0C;
constexpr char RikaStart2 = '\xD4';
constexpr int RikaStartsvarLangd = 3;
constexpr char Syn = 0x16;
constexpr char Nul = 0x00;
constexpr char Soh = 0x01;
constexpr char Eot = 0x04;

// A RIKA that has begun a card (SOH) is given this long to finish it before
// the link counts as lost.
constexpr std::chrono::milliseconds GransEfterSoh{10000};

} // namespace Tolkprotokoll
