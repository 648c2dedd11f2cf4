// DatagramModel.h: what a datagram must become, worked out from the rules alone,
// independently of the program's code.
#pragma once

#include <cstddef>
#include <string>

namespace fuzz {

// The receive buffer: longer datagrams arrive cut to it and are reported.
constexpr size_t kReceiveBufferBytes = 4096;
// The diagnostic a datagram of kReceiveBufferBytes or more gives.
extern const char kFullBufferDiagnostic[];

// The message text a record holds for these bytes. Let k be the last index
// from 1 on whose byte is none of NUL, CR and LF (0 when there is none): every
// byte after k is cut, byte 0 never is, and the text ends at its first NUL.
std::string ExpectedMessage(const std::string& bytes);

// The message text of a datagram received through the 4096-byte buffer.
std::string ExpectedReceivedMessage(const std::string& datagram);

// What an 8-bit reader of the list's Details cell reads for the message (the
// list gives its cells wide, the control converts them to the code page):
// a message the system finds valid UTF-8 that holds a byte above 0x7F is
// decoded as UTF-8 and its byte order marks left out, any other is read in
// the code page; a tab reads as a space.
std::string ExpectedCellText(const std::string& message);

// "%u.%u.%u.%u" of the address's bytes in network order.
std::string DottedQuad(unsigned char a, unsigned char b, unsigned char c, unsigned char d);

// The bytes a Capture line puts on disk: sender, comma, the message quoted
// exactly when it holds a comma (nothing escaped), a line end; every LF
// becomes CR LF, as a text-mode stream writes it.
std::string ExpectedCaptureBytes(const std::string& sender, const std::string& message);

}  // namespace fuzz
