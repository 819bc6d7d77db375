#include "players/Players.h"
#include "settlement/MoneyLedger.h"
#include "settlement/Payoffs.h"
#include "settlement/Settlement.h"

#include "core/Format.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace sw;

namespace {

void write(const std::filesystem::path& file, std::initializer_list<const char*> lines) {
    std::string content;
    for (const char* line : lines)
        content += std::string(line) + "\r\n";
    test::writeAll(file, content);
}

// Race 3 of a day: every bet type bought by hand into the pool files, settled from the payoffs the
// files give. Every expected figure is worked out here from the amounts written below.
TEST(SettlementEndToEnd, EveryBetTypeIsPaidWhatThePoolFilesGive) {
    test::TempDir dir;
    test::ListRandom random{{0.5}};
    test::ScriptedPrompter prompter;
    RaceDay day(dir.path(), random, prompter);
    day.players.entries = {{1, "Ann", "400"}, {2, "Bob", "400"}, {3, "Cy", "400"}};
    day.currentRace = 2;
    day.card.racePoolsOpened.fill(true);
    for (std::size_t k = 0; k < 4; ++k)
        day.result.finishOrder[k] = std::array<uint8_t, 4>{3, 5, 1, 7}[k];
    day.raceWinner[1] = 4;
    day.raceWinner[2] = 3;
    day.pools.oddsByRace[2][3] = 1.9f; // $5.80 in race 2
    day.pools.oddsByRace[3][2] = 1.3f; // $4.60 in race 3

    write(dir / "tickets.dat", {
                                   "2125,3,2,Win,2,5/11/2026", // left over from race 2: never paid here
                                   "2120,2,2,Daily Double,2,5/11/2026",
                                   "2130,3,2,Daily Double,2,5/11/2026",
                                   "2125,1,2,Win,3,5/12/2026",
                                   "2126,3,4,Place,3,5/12/2026",
                                   "2127,2,2,WPS,3,5/12/2026",
                                   "2128,1,2,Show,3,5/12/2026",
                                   "2129,2,10,Quiniela,3,5/12/2026",
                                   "2130,1,5,Exacta,3,5/12/2026",
                                   "2131,2,1,Trifecta,3,5/12/2026",
                                   "2132,1,2,Superfecta,3,5/12/2026",
                               });
    // Win: 1200 in the pool, 300 on post 3.
    write(dir / "wins.dat", {"1,1,400", "2,3,296", "3,5,500", "2125,3,2", "2127,3,2"});
    // Place: 5000, 1300 on 3 and 700 on 5.
    write(dir / "places.dat", {"4,1,3000", "5,3,1298", "6,5,696", "2126,5,4", "2127,3,2"});
    // Show: 3500, 1000 on 3, 500 on 5, 1000 on 1.
    write(dir / "shows.dat", {"7,1,1000", "8,3,998", "9,5,500", "10,7,998", "2127,3,2", "2128,7,2"});
    // Quiniela: 1000, 200 on 3-5.
    write(dir / "quinielas.dat", {"11,3,5,190", "12,1,3,800", "2129,3,5,10"});
    // Exacta: 1000, 100 on 3-5 (a $5 box of 1, 3, 5).
    write(dir / "exactas.dat", {"13,3,5,95", "14,5,3,400", "15,1,3,475", "2130,1,3,5", "2130,1,5,5",
                                "2130,3,1,5", "2130,3,5,5", "2130,5,1,5", "2130,5,3,5"});
    // Trifecta: 200, 10 on 3-5-1.
    write(dir / "trifectas.dat", {"16,3,5,1,9", "17,1,3,5,190", "2131,3,5,1,1"});
    // Superfecta: nothing on 3-5-1-7.
    write(dir / "superfectas.dat", {"18,3,5,1,7,0", "19,1,3,5,7,50", "2132,3,5,7,1,2"});
    write(dir / "dailydoubles.dat", {"2120,4,5,2", "2130,4,3,2"});

    MoneyLedger ledger;
    ledger.open(day.players);
    selectBettor(day, 0);

    Payoffs payoffs = preparePayoffs(day);
    EXPECT_EQ(payoffs.win.text, "6.00");      // 900 / 300 - 1 = 2
    EXPECT_EQ(payoffs.place[0].text, "2.80"); // 1875 / 1300 - 1 = 0.44
    EXPECT_EQ(payoffs.place[1].text, "5.20"); // 1875 / 700 - 1 = 1.68
    EXPECT_EQ(payoffs.show[0].text, "2.10");  // 874.125 / 1000 - 1 < 0.05
    EXPECT_EQ(payoffs.show[1].text, "3.40");  // 874.125 / 500 - 1 = 0.748
    EXPECT_EQ(payoffs.show[2].text, "2.10");
    EXPECT_EQ(payoffs.quiniela.text, "7.40");   // 750 / 200 - 1 = 2.75
    EXPECT_EQ(payoffs.exacta.text, "15.00");    // 750 / 100 - 1 = 6.5
    EXPECT_EQ(payoffs.trifecta2.text, "30.00"); // 150 / 10 - 1 = 14
    EXPECT_EQ(payoffs.trifecta1.text, "15.00");
    EXPECT_EQ(payoffs.superfecta2.text, "-");
    EXPECT_EQ(payoffs.specialPayoff.text, "11.40"); // 5 / 2 * 4.6 = 11.5; odds 4.75 -> 4.7

    SettlementReport report = settleRace(day, payoffs);

    EXPECT_EQ(report.winnerLines, (std::vector<std::string>{
                                      "    $6.00 -Win- Ann",
                                      "    $6.00 -Win- Bob",
                                      "    $2.80 -Plc- Bob",
                                      "   $10.40 -Plc- Cy",
                                      "    $2.10 -Shw- Bob",
                                      "   $37.00 -Qui- Bob",
                                      "   $37.50 -Exa- Ann",
                                      "   $15.00 -Tri- Bob",
                                      "   $11.40 -DDb- Cy",
                                  }));
    EXPECT_FLOAT_EQ(balanceOf(day.players.entries[0]), 443.5f);
    EXPECT_FLOAT_EQ(balanceOf(day.players.entries[1]), 462.9f);
    EXPECT_FLOAT_EQ(balanceOf(day.players.entries[2]), 421.8f);
    EXPECT_EQ(day.players.balanceLabel, "443.50") << "the bettor's balance shows the winnings";
    const Credit& cy = report.credits[3]; // a $4 place on 5, which came second
    EXPECT_EQ(
        std::vector<std::string>({cy.code, std::to_string(cy.playerIndex), std::to_string(cy.ticketNumber),
                                  std::to_string(cy.amount), moneyText(cy.payoff), moneyText(cy.winnings)}),
        std::vector<std::string>({"Plc", "2", "2126", "4", "5.20", "10.40"}));
    EXPECT_EQ(report.standingLines,
              (std::vector<std::string>{"   $462.90 - Bob", "   $443.50 - Ann", "   $421.80 - Cy"}));
    EXPECT_EQ(test::readLines(dir / "players.dat"),
              (std::vector<std::string>{"1,Ann,443.5", "2,Bob,462.9", "3,Cy,421.8"}));
    EXPECT_EQ(test::readAll(dir / "tickets.dat"), "");
    EXPECT_EQ(test::readAll(dir / "dailydoubles.dat"), "");
    EXPECT_TRUE(report.unclaimed.empty());
    EXPECT_TRUE(report.errors.empty());

    ledger.credit(report);
    EXPECT_TRUE(ledger.check(day.players).empty());
}

} // namespace
