#include "GenPools.h"

namespace hpa::sim {

namespace {

const char* const kDictionaryNames[50] = {
    "job_id",
    "priority",
    "time",
    "date",
    "completion_code",
    "user",
    "host",
    "file",
    "charge",
    "compile_time",
    "print_time",
    "header_count",
    "error_count",
    "body_count",
    "simplex_count",
    "duplex_count",
    "finishing",
    "chunk_count",
    "jam_count",
    "paper_types_count",
    "index_count",
    "index",
    "paper_width",
    "paper_height",
    "paper_weight",
    "paper_color",
    "paper_type",
    "paper_label",
    "version",
    "number_of_paper_types",
    "job_file_size",
    "last_job_file_size",
    "job_file_usage",
    "current_job_file_usage",
    "max_number_of_job_files",
    "current_job_file",
    "number_of_jobs",
    "multifile",
    "enabled",
    "job_file_full",
    "paper_file_full",
    "user",
    "host",
    "file",
    "charge",
    "connection",
    "cyan_ink",
    "magenta_ink",
    "yellow_ink",
    "black_ink",
};

// "ann" and "Ann" are two users; one name is UTF-8 and stays bytes.
const char* const kUsers[] = {
    "ann",    "Ann",   "bob",           "carla",   "dmitri",     "eve",           "frank",  "gita",
    "hiro",   "ines",  "j\xc3\xbcrgen", "kim",     "lars",       "maria",         "noor",   "olga",
    "paul",   "quinn", "rosa",          "sam",     "tomasz",     "uma",           "victor", "wen",
    "xavier", "yusuf", "zoe",           "j.smith", "svc-backup", "Administrator",
};

const char* const kHosts[] = {
    "ws-001.office.lan", "ws-002.office.lan", "ws-017.office.lan", "ws-042.office.lan",
    "ws-105.office.lan", "192.168.10.23",     "192.168.10.57",     "192.168.10.141",
    "mac-design-1",      "mac-design-2",      "LAPTOP-7Q2K",       "fileserver",
    "terminal-03",       "10.0.4.12",         "reception",         "lab-pc-09",
};

const char* const kFiles[] = {
    "Quarterly report, Q3: draft.pdf",
    "Invoice 2024-0117.pdf",
    "Meeting notes: budget, staffing.docx",
    "photo_0042.jpg",
    "Microsoft Word - Letter to tenants.doc",
    "agenda.txt",
    "Floor plan, level 2.dwg",
    "Re: Offer, final (2).eml",
    "slides: kickoff.pptx",
    "Test Page",
    "Budget 2024, v3: approved.xlsx",
    "C:\\Users\\ann\\Desktop\\scan 12.tif",
    "http://intranet/wiki/Printing:FAQ",
    "Payroll, March.pdf",
    "label sheet 3x8.pdf",
    "Brochure [print-ready].pdf",
    ("\xc3\x9c"
     "bersicht Kosten, 2024.pdf"), // split so that "b" is not read as a hex digit
    "Contract #4471; signed.pdf",
    "poster A3 (colour).pdf",
    "notes.md",
    "report \"final\" - copy.pdf",
    "timesheet week 14: all staff.xls",
    "map of site, entrance B.png",
    "config.ini",
};

const char* const kCharges[] = {
    "Marketing: 4711",        "Sales, EMEA: 4712", "R&D: 5100", "Facilities: 6020", "none",
    "Project Atlas, phase 2", "Print room: 0000",  "",
};

const char* const kConnections[] = {
    "LPD: queue raw",  "IPP: /ipp/print",    "Socket: 9100",
    "FTP: SYS:/spool", "SMB: \\\\fs\\print", "USB",
};

const SPaperType kPapers[] = {
    {210, 297, 80, "White", "Plain", "Tray 1: A4 plain"},
    {297, 420, 80, "White", "Plain", "Tray 2: A3 plain"},
    {216, 279, 75, "White", "Plain", "Letter"},
    {210, 297, 120, "Ivory", "Bond", "Tray 3: letterhead"},
    {148, 210, 80, "White", "Plain", "A5 (manual feed)"},
    {210, 297, 160, "White", "Card", "A4 card 160 g"},
    {210, 297, 80, "Yellow", "Recycled", "Drafts: yellow"},
    {229, 324, 90, "Brown", "Envelope", "C4 envelope"},
};

} // namespace

std::span<const char* const> DictionaryNames()
{
    return kDictionaryNames;
}
std::span<const char* const> UserPool()
{
    return kUsers;
}
std::span<const char* const> HostPool()
{
    return kHosts;
}
std::span<const char* const> FilePool()
{
    return kFiles;
}
std::span<const char* const> ChargePool()
{
    return kCharges;
}
std::span<const char* const> ConnectionPool()
{
    return kConnections;
}
std::span<const SPaperType> PaperPool()
{
    return kPapers;
}

} // namespace hpa::sim
