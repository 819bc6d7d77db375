// Ticket texts as typed: the parser takes exactly the texts the bet entry builds, and a ticket it
// takes is priced, expanded and listed consistently.

#include "FuzzSupport.h"

#include "wagering/TicketPricing.h"

#include <algorithm>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace sw;
    const std::string_view text = fuzz::asText(data, size);
    std::string error;
    auto ticket = parseTicketText(text, &error);
    (void)priceTicket(text);
    if (!ticket) {
        fuzz::require(!error.empty(), "a refused ticket says why");
        return 0;
    }
    fuzz::require(ticketText(*ticket) == text, "a taken ticket text is the one the entry builds");

    TicketPrice price = priceTicket(*ticket);
    CombinationMarks marks;
    TicketPrice expanded = expandTicket(*ticket, marks);
    fuzz::require(price.count == expanded.count && price.cost == expanded.cost,
                  "pricing and expansion agree");
    // A second half's credit pays for one combination.
    const int64_t charged = ticket->exchange > 0 ? std::max(price.count - 1, 0) : price.count;
    fuzz::require(price.cost == charged * ticket->amount, "cost is count times amount");
    fuzz::require(marks.markedCount() <= static_cast<std::size_t>(price.count), "no more lines than bets");
    const std::size_t shown = 40;
    std::vector<std::string> lines = combinationLines(*ticket, shown);
    std::size_t listed = lines.size();
    if (!lines.empty() && lines.back().rfind("... and ", 0) == 0) {
        listed = shown + std::stoul(lines.back().substr(8));
        fuzz::require(lines.size() == shown + 1, "the list is cut after the lines shown");
    }
    const int perLine = ticket->type == BetType::WPS ? 3 : 1;
    fuzz::require(static_cast<int64_t>(listed) * perLine == price.count, "one line per counted combination");
    return 0;
}
