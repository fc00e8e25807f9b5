#pragma once

// Identity of the program as the application object, the servers and the update feed see it.
namespace AppIdentity {
inline constexpr char applicationName[] = "Brisavela2023";
inline constexpr char applicationVersion[] = "2.24.0";
inline constexpr char organizationName[] = "q.u.a.r.l.o.";
inline constexpr char organizationDomain[] = "brisavela.org";
// Product name, underscore, version: sent with every tracking, tile and feed request.
inline constexpr char userAgent[] = "Brisavela_2.24.0";
}
