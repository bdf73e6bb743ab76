// The sponsor's web site: shown in the welcome page's acknowledgement picture and
// opened by its link button.
#pragma once

constexpr char kSponsorAddress[] = "http://www.fenmoor.example/";
