// The product edition a build carries, named by string resource 2.
#pragma once

enum Edition { EditionStandard = 0, EditionProfessional = 1, EditionQuorvel = 2 };

Edition GetEdition();
