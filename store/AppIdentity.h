#pragma once

// Identity of the program as the application object, the servers and the update feed see it.
// The version comes from the build (the project's version in CMakeLists.txt).
namespace AppIdentity {
inline constexpr char applicationName[] = "Brisavela2023";
inline constexpr char applicationVersion[] = BRISAVELA_VERSION;
inline constexpr char organizationName[] = "q.u.a.r.l.o.";
inline constexpr char organizationDomain[] = "brisavela.org";
// Product name, underscore, version: sent with every tracking, tile and feed request.
inline constexpr char userAgent[] = "Brisavela_" BRISAVELA_VERSION;
}
