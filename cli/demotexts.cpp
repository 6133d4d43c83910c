#include "demotexts.h"

namespace cli {
namespace {

// clang-format off
const std::vector<std::string> kTriggers = {
    "the customer name contains an apostrophe",
    "the window is moved to a second monitor",
    "the network drops for a few seconds",
    "the date is 29 February",
    "Save is pressed twice quickly",
    "a file with more than 5,000 lines is opened",
    "a discount of 100% is applied",
    "the session has been idle for an hour",
    "only the keyboard is used",
    "the system language is German",
    "two users edit the same record",
    "the amount has more than two decimals",
    "the list is sorted by date",
    "the printer is offline"};

const std::vector<std::string> kSymptoms = {
    "crashes when", "shows the wrong total when", "freezes for about a minute when",
    "loses the last change when", "shows garbled characters when", "reports an internal error when",
    "ignores the chosen currency when", "counts VAT twice when", "becomes very slow when",
    "does not refresh when"};
// clang-format on

const std::vector<std::string> kCustomers = {
    "Nordwind Trading", "Kestrel Bakeries", "Quinta Logistics",  "Bramble & Sons",
    "Aurora Dental",    "Halvorsen Marine", "Cedar Hill School", "Pellucid Optics"};

const std::vector<std::string> kObservations = {
    "The error log shows a null reference in the save step.",
    "It happens about three times out of ten.",
    "The customer says it blocks their month-end closing.",
    "Support could reproduce it on a clean installation.",
    "Nothing is written to the log when it happens.",
    "It did not happen in the previous release.",
    "Memory use climbs to over 2 GB before it stops responding."};

const std::vector<std::string> kWorkarounds = {"Restart the program and repeat the last step.",
                                               "Save the record first, then reopen it.",
                                               "Switch the language to English until a fix is out.",
                                               "Split the file into parts of 1,000 lines.",
                                               "Use the web form instead; it is not affected.",
                                               "Sort by name instead of by date."};

const std::vector<std::string> kFixes = {
    "Rounding now happens once, after the sum, with banker's rounding.",
    "The record is locked while it is being saved; a second save waits.",
    "Names are now quoted properly in the query.",
    "The list is filled in pages of 200 rows instead of all at once.",
    "Dates are parsed with the invariant calendar.",
    "The connection is retried three times before the user is told."};

const std::vector<std::string> kWishes = {"keyboard shortcuts for",
                                          "a CSV export of",
                                          "bulk editing in",
                                          "an undo history for",
                                          "filtering by date range in",
                                          "saved searches for",
                                          "drag and drop in",
                                          "a progress indicator for",
                                          "a dark theme for",
                                          "two-step approval in"};

const std::vector<std::string> kReasons = {
    "Our accountants do this twenty times a day and lose a lot of time with the mouse.",
    "Several customers asked for it during the last user meeting.",
    "Sales says two larger deals depend on it.",
    "It would let support answer most questions without a developer.",
    "The competition has it and reviewers keep mentioning it."};

std::string Sentence(std::string text)
{
    if (!text.empty())
        text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    return text;
}

}  // namespace

const std::vector<DemoProduct>& DemoProducts()
{
    static const std::vector<DemoProduct> products = {
        {"Ledgerly Desktop",
         "Accounting for small businesses: invoices, ledgers, bank import, tax reports.",
         {{"4.0", "Yearly release with the new ledger view", 320},
          {"4.1", "Bank import for three more banks", 170},
          {"4.2", "Tax report update", 45}},
         {"User Interface", "Reports", "Import and Export", "Installer", "Performance"},
         {"invoice editor", "ledger view", "PDF export", "bank import", "tax report",
          "backup wizard", "print preview", "customer list"}},
        {"Harbor Web Shop",
         "The online shop and its back office: catalogue, cart, checkout, payments.",
         {{"2.3", "Faster catalogue search", 290},
          {"2.4", "New checkout", 120},
          {"3.0", "Multi-currency shop", -30}},
         {"Checkout", "Catalogue", "Payments", "Search", "Accounts"},
         {"checkout page", "shopping cart", "product search", "payment callback",
          "order confirmation e-mail", "discount codes", "customer login", "admin dashboard"}},
    };
    return products;
}

DemoStory MakeBugStory(const DemoProduct& product, const std::string& version, DemoRandom& random)
{
    DemoStory story;
    const std::string& area = random.Pick(product.areas);
    const std::string& trigger = random.Pick(kTriggers);
    story.description = Sentence(area) + " " + random.Pick(kSymptoms) + " " + trigger;
    story.classification = random.Below(product.classifications.size());
    story.report = random.Pick(kCustomers) + " reports that the " + area + " " +
                   random.Pick(kSymptoms) + " " + trigger + ".\nSeen on version " + version + ". " +
                   random.Pick(kObservations);
    if (random.Chance(0.4)) story.report += "\n" + random.Pick(kObservations);
    story.recreateSteps = "1. Open the " + area + ".\n2. Make sure " + trigger +
                          ".\n3. Continue as usual and save.\nExpected: the work is saved.\n"
                          "Actual: see the description.";
    if (random.Chance(0.35)) story.workaround = random.Pick(kWorkarounds);
    story.resolution = random.Pick(kFixes);
    return story;
}

DemoStory MakeFeatureStory(const DemoProduct& product, DemoRandom& random)
{
    DemoStory story;
    const std::string& area = random.Pick(product.areas);
    const std::string& wish = random.Pick(kWishes);
    story.description = Sentence("add " + wish + " the " + area);
    story.classification = random.Below(product.classifications.size());
    story.report =
        "As a user of the " + area + " I would like " + wish + " it.\n" + random.Pick(kReasons);
    story.resolution = "Implemented as described; see the release notes.";
    return story;
}

}  // namespace cli
