// tickets.dat as a player may have edited it during a day: the settlement reads its tickets and
// writes the ones still running back. What it writes reads as the same tickets.

#include "FuzzSupport.h"

#include "settlement/Settlement.h"

namespace {

std::string ticketsText(const std::vector<sw::TicketRecord>& tickets) {
    std::string text;
    for (const sw::TicketRecord& ticket : tickets)
        text += sw::ticketRecord(ticket);
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace sw;
    const std::vector<TicketRecord> tickets = parseTickets(fuzz::asText(data, size));
    const std::string written = ticketsText(tickets);
    const std::vector<TicketRecord> again = parseTickets(written);
    fuzz::require(again.size() == tickets.size(), "every ticket written back is read back");
    fuzz::require(ticketsText(again) == written, "tickets.dat written back reads as the same tickets");
    return 0;
}
