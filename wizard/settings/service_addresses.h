// The web addresses and mail domain of the service and of the add-in's publisher: the one
// place where they are written. Hosts are under the reserved .example domain.
#pragma once

#include <string_view>

namespace ostrel {

// Domain of the service's list addresses: a list is mailed at <user id>@<mail domain>.
inline constexpr std::string_view kServiceMailDomain = "ostrel.example";
// The service's home page: the thank-you page used when the author gives none.
inline constexpr std::string_view kServiceHomePage = "http://www.ostrel.example/";
// The publisher's partner number, carried in the order page's "id" query key.
inline constexpr std::string_view kPartnerNumber = "20417";
// The service's secure order page for a new account.
inline constexpr std::string_view kServiceOrderPage = "https://secure.ostrel.example/order.htm?id=20417";
// The publisher's home page: the thank-you address a new author sees first.
inline constexpr std::string_view kPublisherHomePage = "http://www.publisher.example/";
// The publisher's information page about the add-in.
inline constexpr std::string_view kPublisherInfoPage = "http://www.publisher.example/ostrel";

}  // namespace ostrel
