// Active-mode retrieval of one file: listen on a local port, announce it
// with PORT (EPRT over IPv6), ask for the file with RETR and take the
// connection the server opens. The replies to PORT and RETR are left for the
// next reply read.
#include "transfer/FtpClient.h"

#include "transfer/FtpText.h"

#include <cstdio>
#include <memory>
#include <new>

namespace hpa {

namespace {
constexpr std::size_t kFileBufferSize = 1 << 20;
}

bool CFtpClient::FindDataPort(const std::string& strLocalAddress)
{
    // The data socket listens where the control connection runs from (in
    // its family); without a control connection, on any IPv4 address.
    const char* pszLocal =
        m_control.IsConnected() && !strLocalAddress.empty() ? strLocalAddress.c_str() : nullptr;
    // A port that worked is kept, so the next retrieval starts there.
    for (int nAttempt = 0; nAttempt < kPortAttempts; ++nAttempt) {
        if (m_data.Listen(m_nDataPort, pszLocal) == ListenResult::done)
            return true;
        ++m_nDataPort;
    }
    return false;
}

std::int64_t CFtpClient::RetrieveFile(const std::string& strRemoteName,
                                      const std::string& strLocalName, int bCreate,
                                      std::atomic<std::int64_t>* pnCounter)
{
    if (!IsSafeArgument(strRemoteName))
        return 0;
    // Without a local address PORT names none, nobody connects and the
    // wait for the data connection below ends the retrieval.
    std::string strAddress;
    (void)GetLocalAddress(strAddress, 200);
    if (!FindDataPort(strAddress))
        return 0;
    // A refusal is ignored: the printer sends the bytes as they are.
    (void)SetType(1);

    // PORT can only name an IPv4 address; an IPv6 control connection
    // announces its data port with EPRT.
    const bool bIpv6 = strAddress.find(':') != std::string::npos;
    const std::string strDataCommand = bIpv6 ? FormatEprtCommand(strAddress, m_nDataPort)
                                             : FormatPortCommand(strAddress, m_nDataPort);
    // A send that fails means the control connection is gone (a cancel
    // closed it, or the server hung up): nobody will connect to us then.
    if (SendCommand(strDataCommand) <= 0 || SendCommand("RETR " + strRemoteName + "\r\n") <= 0) {
        m_data.Close();
        return 0;
    }
    // Only the server may deliver the file; the wait is bounded by the
    // receive time-out, so a refused file (no connection) ends as a failure.
    // Without a connection the receive below reads nothing; the local file
    // is still opened, so a create-mode file is emptied either way.
    (void)m_data.Accept(m_strServerAddress.c_str());
    const std::int64_t nBytes = ReceiveInto(strLocalName, bCreate, pnCounter);
    m_data.Close();
    return nBytes;
}

std::int64_t CFtpClient::ReceiveInto(const std::string& strLocalName, int bCreate,
                                     std::atomic<std::int64_t>* pnCounter)
{
    pnCounter->store(0);
    // Opened even when no connection came, so that a create-mode file never
    // keeps the content of an earlier download.
    std::FILE* pFile = std::fopen(strLocalName.c_str(), bCreate ? "wb" : "r+b");
    if (!pFile)
        return 0;
    // Blocks arrive 2048 bytes at a time; a large stream buffer turns them
    // into few big writes instead of one system call for every other block.
    // (The C library takes the size only with a buffer of our own, which
    // must outlive the stream: it is freed after the fclose below.)
    const std::unique_ptr<char[]> pStreamBuffer(new (std::nothrow) char[kFileBufferSize]);
    if (pStreamBuffer)
        std::setvbuf(pFile, pStreamBuffer.get(), _IOFBF, kFileBufferSize);
    // 64 bits: job files beyond 2 GiB must neither wrap nor read as success.
    std::int64_t nTotal = 0;
    if (bCreate || std::fseek(pFile, 0, SEEK_END) == 0) {
        char buffer[kBlockSize];
        for (;;) {
            const int n = m_data.Receive(buffer, kBlockSize);
            if (n <= 0)
                break;
            const std::size_t nWritten = std::fwrite(buffer, 1, static_cast<std::size_t>(n), pFile);
            nTotal += static_cast<std::int64_t>(nWritten);
            pnCounter->fetch_add(static_cast<std::int64_t>(nWritten));
            if (nWritten != static_cast<std::size_t>(n))
                break; // disk full: count only what is really in the file
        }
    }
    if (std::fclose(pFile) != 0)
        return 0;
    return nTotal;
}

} // namespace hpa
