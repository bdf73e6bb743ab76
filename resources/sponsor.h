// The sponsor's home page, which the welcome page's link button opens and its picture names.
#pragma once

constexpr char kSponsorAddress[] = "http://www.fenmoor.example/";
