// The ticket text's grammar: exactly the texts the bet entry builds, each refusal saying why.

#include "wagering/TicketText.h"

#include "WageringFixture.h"

#include <gtest/gtest.h>

#include <string>

using namespace sw;
using sw::test::parsed;

namespace {

TEST(TicketText, ReadsEveryShapeTheEntryBuildsAndWritesItBackUnchanged) {
    for (std::string_view text : {"$2 WPS on All", "$0 Place on 8123", "$3 Quiniela Straight 27",
                                  "$5 Trifecta Wheel 1 with 23 with 2345", "$2 DailyDouble Wheel 12 with All",
                                  "$32000 Twin-Tri Box 123", "$2 Twin-Tri Exchange 57 Straight 456",
                                  "$5 Tri-Super Exchange 2130 Straight 4178"})
        EXPECT_EQ(ticketText(parsed(text)), text);
}

TEST(TicketText, RefusesWhatTheEntryNeverBuildsSayingWhy) {
    // Each case: texts, says: the whole message, or the telling part of it.
    const std::pair<std::vector<const char*>, const char*> cases[] = {
        {{""}, "The ticket text is empty."},
        {{" $2 Win on 5"}, "single spaces"},
        {{"2 Win on 5", "$ Win on 5", "$2.5 Win on 5", "$02 Win on 5", "$32001 Win on 5"},
         "whole dollars from 0 to 32000"},
        {{"$2 Perfecta Box 12"}, "\"Perfecta\" is not a bet"},
        {{"$2 Win Straight 5", "$2 Win"},
         "A Win ticket reads \"on\" before its horses, for example $2 Win on 5."},
        {{"$2 DailyDouble Box 12"},
         "A DailyDouble ticket is always a Wheel, for example $2 DailyDouble Wheel 12 with All."},
        {{"$2 Exacta on 12"},
         "An Exacta ticket is entered Straight, Box or Wheel, for example $2 Exacta Box 134."},
        {{"$2 Trifecta Exchange 57 Straight 123"},
         "Only a Twin-Tri or Tri-Super credit is exchanged, for example $2 Twin-Tri Exchange 57 Straight "
         "274."},
        // One credit buys one combination: an exchange that would cover more is refused.
        {{"$1 Twin-Tri Exchange 2125 Box All", "$1 Twin-Tri Exchange 2125 Wheel 1 with 23 with All",
          "$1 Twin-Tri Exchange 2125 on 123"},
         "One credit buys one combination. A Twin-Tri exchange is a Straight Trifecta at the credit's "
         "amount, "
         "for example $1 Twin-Tri Exchange 2125 Straight 274. For more combinations, buy an ordinary "
         "Trifecta."},
        {{"$5 Tri-Super Exchange 57 Box 12345", "$5 Tri-Super Exchange 57 Wheel 1 with 2 with 3 with 45"},
         "A Tri-Super exchange is a Straight Superfecta at the credit's amount, for example $5 Tri-Super "
         "Exchange 57 Straight 2741. For more combinations, buy an ordinary Superfecta."},
        {{"$2 Twin-Tri Exchange Box 123", "$2 Twin-Tri Exchange 057 Box 123", "$2 Tri-Super Exchange"},
         "exchange names the number of its credit"},
        {{"$2 Exacta Box 19", "$2 Win on 123456781"}, "is not a set of horses: write the posts 1 to 8"},
        {{"$2 Exacta Box 131"}, "Horse 1 is named twice in \"131\"."},
        {{"$2 Exacta Wheel 1", "$2 Exacta Wheel 1 and 2"},
         "An Exacta Wheel ticket takes 2 sets of horses joined by \"with\", for example $2 Exacta Wheel 1 "
         "with 23."},
        {{"$2 Win on 5 with 6"}, "A Win ticket takes one set of horses, for example $2 Win on 5."},
        {{"$2 Win on 1 2 3 4 5 6 7 8 1 2 3 4 5 6 7 8 1 2 3"}, "A ticket has at most 20 words."},
        {{"$2 Exacta Box 1"}, "An Exacta Box takes 2 or more horses, for example $2 Exacta Box 134."},
        // A Straight names exactly its horses; a Tri-Super's second half is a Superfecta.
        {{"$2 Tri-Super Exchange 9 Straight 123"},
         "A Straight Tri-Super names exactly 4 horses in order, for example $2 Tri-Super Exchange 9 Straight "
         "2741."},
    };
    for (const auto& [texts, says] : cases)
        for (const char* text : texts) {
            std::string error;
            EXPECT_FALSE(parseTicketText(text, &error)) << text;
            EXPECT_NE(error.find(says), std::string::npos) << text << ": " << error;
        }
}

} // namespace
