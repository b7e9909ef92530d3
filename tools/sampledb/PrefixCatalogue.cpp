#include "tools/sampledb/PrefixCatalogue.h"

#include <cmath>
#include <cstdio>
#include <sstream>

namespace {

struct Entity {
    const char* prefixes;  // blank-separated, the usual one first
    const char* country;
    int id;
    const char* continent;
    int cq;
    int itu;
    double lat;
    double east;  // degrees east of Greenwich
    double utc;   // hours ahead of UTC
    bool deleted = false;
};

// Hand-typed from common knowledge of the DXCC list; positions are rough centres.
const Entity kEntities[] = {
    {"DL DA DB DC DD DF DG DH DJ DK DM DN DO", "Germany", 230, "EU", 14, 28, 51.0, 10.0, 1},
    {"PA PB PC PD PE PF PG PH PI", "Netherlands", 263, "EU", 14, 27, 52.3, 5.3, 1},
    {"G M 2E", "England", 223, "EU", 14, 27, 52.0, -1.5, 0},
    {"GM MM 2M", "Scotland", 279, "EU", 14, 27, 56.8, -4.2, 0},
    {"GW MW 2W", "Wales", 294, "EU", 14, 27, 52.3, -3.7, 0},
    {"GI MI 2I", "Northern Ireland", 265, "EU", 14, 27, 54.6, -6.7, 0},
    {"GD MD", "Isle of Man", 114, "EU", 14, 27, 54.2, -4.5, 0},
    {"GJ MJ", "Jersey", 122, "EU", 14, 27, 49.2, -2.1, 0},
    {"GU MU", "Guernsey", 106, "EU", 14, 27, 49.5, -2.6, 0},
    {"F TM", "France", 227, "EU", 14, 27, 46.0, 2.0, 1},
    {"I IK IZ IW IU", "Italy", 248, "EU", 15, 28, 42.8, 12.8, 1},
    {"IS0 IM0", "Sardinia", 225, "EU", 15, 28, 40.0, 9.0, 1},
    {"EA EB EC ED EE EF EG EH", "Spain", 281, "EU", 14, 37, 40.4, -3.7, 1},
    {"EA6 EB6 EC6", "Balearic Islands", 21, "EU", 14, 37, 39.6, 2.9, 1},
    {"EA8 EB8 EC8", "Canary Islands", 29, "AF", 33, 36, 28.3, -15.6, 0},
    {"EA9", "Ceuta and Melilla", 32, "AF", 33, 37, 35.9, -5.3, 1},
    {"CT CQ CR CS", "Portugal", 272, "EU", 14, 37, 39.5, -8.0, 0},
    {"CT3 CQ3", "Madeira Islands", 256, "AF", 33, 36, 32.8, -17.0, 0},
    {"CU", "Azores", 149, "EU", 14, 36, 38.7, -27.2, -1},
    {"ON OO OP OQ OR OS OT", "Belgium", 209, "EU", 14, 27, 50.7, 4.5, 1},
    {"LX", "Luxembourg", 254, "EU", 14, 27, 49.6, 6.1, 1},
    {"HB HE", "Switzerland", 287, "EU", 14, 28, 46.8, 8.2, 1},
    {"HB0", "Liechtenstein", 251, "EU", 14, 28, 47.1, 9.5, 1},
    {"OE", "Austria", 206, "EU", 15, 28, 47.3, 13.3, 1},
    {"OK OL", "Czech Republic", 503, "EU", 15, 28, 50.0, 15.0, 1},
    {"OM", "Slovak Republic", 504, "EU", 15, 28, 48.7, 19.5, 1},
    {"SP SN SO SQ SR 3Z HF", "Poland", 269, "EU", 15, 28, 52.3, 19.0, 1},
    {"HA HG", "Hungary", 239, "EU", 15, 28, 47.1, 19.3, 1},
    {"YO YP YQ YR", "Romania", 275, "EU", 20, 28, 45.8, 24.9, 2},
    {"LZ", "Bulgaria", 212, "EU", 20, 28, 42.7, 25.3, 2},
    {"SV SW SX SY SZ J4", "Greece", 236, "EU", 20, 28, 39.0, 22.0, 2},
    {"SV9 SW9 J49", "Crete", 40, "EU", 20, 28, 35.2, 24.9, 2},
    {"SV/A", "Mount Athos", 180, "EU", 20, 28, 40.2, 24.2, 2},
    {"9A", "Croatia", 497, "EU", 15, 28, 45.2, 15.5, 1},
    {"S5", "Slovenia", 499, "EU", 15, 28, 46.0, 14.5, 1},
    {"YU YT", "Serbia", 296, "EU", 15, 28, 44.0, 20.9, 1},
    {"E7", "Bosnia-Herzegovina", 501, "EU", 15, 28, 44.0, 17.8, 1},
    {"Z3", "North Macedonia", 502, "EU", 15, 28, 41.6, 21.7, 1},
    {"ZA", "Albania", 7, "EU", 15, 28, 41.2, 20.0, 1},
    {"4O", "Montenegro", 514, "EU", 15, 28, 42.8, 19.3, 1},
    {"Z6", "Republic of Kosovo", 522, "EU", 15, 28, 42.6, 20.9, 1},
    {"TA TB TC YM", "Turkey", 390, "AS", 20, 39, 39.0, 35.0, 3},
    {"5B C4 H2 P3", "Cyprus", 215, "AS", 20, 39, 35.0, 33.3, 2},
    {"ZC4", "UK Sovereign Base Areas on Cyprus", 283, "AS", 20, 39, 34.6, 33.0, 2},
    {"9H", "Malta", 257, "EU", 15, 28, 35.9, 14.4, 1},
    {"OZ OU OV 5P 5Q", "Denmark", 221, "EU", 14, 18, 56.0, 10.0, 1},
    {"OY", "Faroe Islands", 222, "EU", 14, 18, 62.0, -6.9, 0},
    {"OX XP", "Greenland", 237, "NA", 40, 5, 70.0, -40.0, -3},
    {"LA LB LC LD LE LF LG LH LI LJ LK LL LM LN", "Norway", 266, "EU", 14, 18, 61.0, 9.0, 1},
    {"JW", "Svalbard", 259, "EU", 40, 18, 78.0, 16.0, 1},
    {"JX", "Jan Mayen", 118, "EU", 40, 18, 71.0, -8.3, 1},
    {"SM SA SB SC SD SE SF SG SH SI SJ SK SL 7S 8S", "Sweden", 284, "EU", 14, 18, 62.0, 15.0, 1},
    {"OH OF OG OI", "Finland", 224, "EU", 15, 18, 63.8, 27.0, 2},
    {"OH0", "Aland Islands", 5, "EU", 15, 18, 60.2, 20.0, 2},
    {"OJ0", "Market Reef", 167, "EU", 15, 18, 60.3, 19.1, 2},
    {"TF", "Iceland", 242, "EU", 40, 17, 65.0, -19.0, 0},
    {"EI EJ", "Ireland", 245, "EU", 14, 27, 53.1, -8.0, 0},
    {"ES", "Estonia", 52, "EU", 15, 29, 58.8, 25.5, 2},
    {"YL", "Latvia", 145, "EU", 15, 29, 56.9, 24.6, 2},
    {"LY", "Lithuania", 146, "EU", 15, 29, 55.3, 23.9, 2},
    {"EU EV EW", "Belarus", 27, "EU", 16, 29, 53.7, 28.0, 3},
    {"UR US UT UU UV UW UX UY UZ EM EN EO", "Ukraine", 288, "EU", 16, 29, 49.0, 31.3, 2},
    {"ER", "Moldova", 179, "EU", 16, 29, 47.0, 28.8, 2},
    {"UA RA RK RN RU RV RW RX RZ R", "European Russia", 54, "EU", 16, 29, 55.8, 37.6, 3},
    {"UA9 RA9 RK9 RU9 RV9 RW9 RX9 RZ9 UA0 RA0", "Asiatic Russia", 15, "AS", 17, 30, 55.0, 83.0, 7},
    {"UA2 RA2", "Kaliningrad", 126, "EU", 15, 29, 54.7, 20.5, 2},
    {"4L", "Georgia", 75, "AS", 21, 29, 42.0, 43.5, 4},
    {"EK", "Armenia", 14, "AS", 21, 29, 40.3, 44.5, 4},
    {"4J 4K", "Azerbaijan", 18, "AS", 21, 29, 40.4, 47.8, 4},
    {"UN UO UP UQ", "Kazakhstan", 130, "AS", 17, 30, 48.0, 68.0, 5},
    {"UK", "Uzbekistan", 292, "AS", 17, 30, 41.4, 64.6, 5},
    {"EX", "Kyrgyzstan", 135, "AS", 17, 31, 41.2, 74.8, 6},
    {"EY", "Tajikistan", 262, "AS", 17, 30, 38.9, 71.3, 5},
    {"EZ", "Turkmenistan", 280, "AS", 17, 30, 38.0, 58.4, 5},
    {"3A", "Monaco", 260, "EU", 14, 27, 43.7, 7.4, 1},
    {"C3", "Andorra", 203, "EU", 14, 27, 42.5, 1.5, 1},
    {"T7", "San Marino", 278, "EU", 15, 28, 43.9, 12.5, 1},
    {"HV", "Vatican City", 295, "EU", 15, 28, 41.9, 12.5, 1},
    {"ZB", "Gibraltar", 233, "EU", 14, 37, 36.1, -5.3, 1},
    {"BY BA BD BG BH BI BJ BT", "China", 318, "AS", 24, 44, 36.0, 108.0, 8},
    {"BV BM BN BO BP BQ BU BW BX", "Taiwan", 386, "AS", 24, 44, 23.7, 121.0, 8},
    {"VR", "Hong Kong", 321, "AS", 24, 44, 22.3, 114.2, 8},
    {"XX9", "Macao", 152, "AS", 24, 44, 22.2, 113.6, 8},
    {"HL DS DT 6K 6L 6M 6N D7 D8 D9", "Republic of Korea", 137, "AS", 25, 44, 36.5, 127.9, 9},
    {"P5", "DPR of Korea", 344, "AS", 25, 44, 40.0, 127.0, 9},
    {"JT JU JV", "Mongolia", 363, "AS", 23, 32, 47.0, 104.0, 8},
    {"DU DV DW DX DY DZ 4D 4E 4F 4G 4H 4I", "Philippines", 375, "OC", 27, 50, 12.0, 122.0, 8},
    {"3W XV", "Vietnam", 293, "AS", 26, 49, 16.0, 106.0, 7},
    {"HS E2", "Thailand", 387, "AS", 26, 49, 15.0, 101.0, 7},
    {"XW", "Laos", 143, "AS", 26, 49, 18.0, 105.0, 7},
    {"XU", "Cambodia", 312, "AS", 26, 49, 12.0, 105.0, 7},
    {"XZ", "Myanmar", 309, "AS", 26, 49, 20.0, 96.0, 6.5},
    {"9M2 9W2", "West Malaysia", 299, "AS", 28, 54, 3.9, 101.6, 8},
    {"9M6 9M8 9W6 9W8", "East Malaysia", 46, "OC", 28, 54, 3.0, 113.0, 8},
    {"9V S6", "Singapore", 381, "AS", 28, 54, 1.3, 103.8, 8},
    {"YB YC YD YE YF YG YH 7A 7B 7C 7D 7E 7F 7G 7H 7I 8A 8B 8C 8D 8E 8F 8G 8H 8I PK PL PM PN PO", "Indonesia",
     327, "OC", 28, 51, -7.3, 110.0, 7},
    {"V8", "Brunei Darussalam", 345, "OC", 28, 54, 4.5, 114.7, 8},
    {"4W", "Timor-Leste", 511, "OC", 28, 54, -8.6, 125.6, 9},
    {"VU AT AU AV AW 8T 8U 8V 8W 8X 8Y", "India", 324, "AS", 22, 41, 21.0, 78.0, 5.5},
    {"4S", "Sri Lanka", 315, "AS", 22, 41, 7.0, 80.0, 5.5},
    {"8Q", "Maldives", 159, "AF", 22, 41, 4.2, 73.5, 5},
    {"S2 S3", "Bangladesh", 305, "AS", 22, 41, 23.7, 90.4, 6},
    {"9N", "Nepal", 369, "AS", 22, 42, 27.7, 85.3, 5.75},
    {"A5", "Bhutan", 306, "AS", 22, 41, 27.4, 90.5, 6},
    {"AP AS 6P 6Q 6R 6S", "Pakistan", 372, "AS", 21, 41, 30.0, 70.0, 5},
    {"YA T6", "Afghanistan", 3, "AS", 21, 40, 34.5, 69.2, 4.5},
    {"EP EQ 9B 9C 9D", "Iran", 330, "AS", 21, 40, 32.0, 53.0, 3.5},
    {"YI", "Iraq", 333, "AS", 21, 39, 33.3, 44.4, 3},
    {"YK 6C", "Syria", 384, "AS", 20, 39, 35.0, 38.0, 2},
    {"OD", "Lebanon", 354, "AS", 20, 39, 33.8, 35.5, 2},
    {"4X 4Z", "Israel", 336, "AS", 20, 39, 31.8, 35.2, 2},
    {"JY", "Jordan", 342, "AS", 20, 39, 31.9, 35.9, 2},
    {"HZ 7Z 8Z", "Saudi Arabia", 378, "AS", 21, 39, 24.6, 46.7, 3},
    {"9K", "Kuwait", 348, "AS", 21, 39, 29.4, 48.0, 3},
    {"A9", "Bahrain", 304, "AS", 21, 39, 26.1, 50.6, 3},
    {"A7", "Qatar", 376, "AS", 21, 39, 25.3, 51.5, 3},
    {"A6", "United Arab Emirates", 391, "AS", 21, 39, 24.0, 54.0, 4},
    {"A4", "Oman", 370, "AS", 21, 39, 23.6, 58.6, 4},
    {"7O", "Yemen", 492, "AS", 21, 39, 15.4, 44.2, 3},
    {"E4", "Palestine", 510, "AS", 20, 39, 31.9, 35.2, 2},
    {"JA JE JF JG JH JI JJ JK JL JM JN JO JP JQ JR JS 7J 7K 7L 7M 7N", "Japan", 339, "AS", 25, 45, 36.0, 138.0, 9},
    {"JD1", "Ogasawara", 192, "AS", 27, 45, 27.1, 142.2, 9},
    {"ZS ZR ZT ZU", "South Africa", 462, "AF", 38, 57, -29.0, 24.0, 2},
    {"V5", "Namibia", 464, "AF", 38, 57, -22.0, 17.0, 2},
    {"A2", "Botswana", 402, "AF", 38, 57, -22.0, 24.0, 2},
    {"Z2", "Zimbabwe", 452, "AF", 38, 53, -18.0, 30.0, 2},
    {"9J", "Zambia", 482, "AF", 36, 53, -15.4, 28.3, 2},
    {"C9", "Mozambique", 181, "AF", 37, 53, -18.3, 35.0, 2},
    {"7Q", "Malawi", 440, "AF", 37, 53, -14.0, 34.0, 2},
    {"5H 5I", "Tanzania", 470, "AF", 37, 53, -6.2, 35.7, 3},
    {"5Y 5Z", "Kenya", 430, "AF", 37, 48, -1.3, 36.8, 3},
    {"5X", "Uganda", 286, "AF", 37, 48, 0.3, 32.6, 3},
    {"9X", "Rwanda", 454, "AF", 36, 52, -1.9, 30.1, 2},
    {"9U", "Burundi", 404, "AF", 36, 52, -3.4, 29.4, 2},
    {"ET 9E 9F", "Ethiopia", 53, "AF", 37, 48, 9.0, 38.7, 3},
    {"E3", "Eritrea", 51, "AF", 37, 48, 15.3, 38.9, 3},
    {"J2", "Djibouti", 382, "AF", 37, 48, 11.6, 43.1, 3},
    {"T5 6O", "Somalia", 232, "AF", 37, 48, 2.0, 45.3, 3},
    {"ST 6T 6U", "Sudan", 466, "AF", 34, 48, 15.6, 32.5, 2},
    {"Z8", "Republic of South Sudan", 521, "AF", 34, 48, 4.9, 31.6, 3},
    {"SU SS 6A 6B", "Egypt", 478, "AF", 34, 38, 30.0, 31.2, 2},
    {"5A", "Libya", 436, "AF", 34, 38, 32.9, 13.2, 2},
    {"3V TS", "Tunisia", 474, "AF", 33, 37, 36.8, 10.2, 1},
    {"7X 7R 7T 7U 7V 7W 7Y", "Algeria", 400, "AF", 33, 37, 36.8, 3.1, 1},
    {"CN 5C 5D 5E 5F 5G", "Morocco", 446, "AF", 33, 37, 34.0, -6.8, 1},
    {"S0", "Western Sahara", 302, "AF", 33, 46, 24.0, -13.0, 0},
    {"5T", "Mauritania", 444, "AF", 35, 46, 18.1, -15.9, 0},
    {"6W 6V", "Senegal", 456, "AF", 35, 46, 14.7, -17.4, 0},
    {"C5", "The Gambia", 422, "AF", 35, 46, 13.5, -16.6, 0},
    {"J5", "Guinea-Bissau", 109, "AF", 35, 46, 11.9, -15.6, 0},
    {"3X", "Guinea", 107, "AF", 35, 46, 9.5, -13.7, 0},
    {"9L", "Sierra Leone", 458, "AF", 35, 46, 8.5, -13.2, 0},
    {"EL 5L 5M 6Z A8 D5", "Liberia", 434, "AF", 35, 46, 6.3, -10.8, 0},
    {"TU", "Cote d'Ivoire", 428, "AF", 35, 46, 5.3, -4.0, 0},
    {"9G", "Ghana", 424, "AF", 35, 46, 5.6, -0.2, 0},
    {"5V", "Togo", 483, "AF", 35, 46, 6.1, 1.2, 0},
    {"TY", "Benin", 416, "AF", 35, 46, 6.5, 2.6, 1},
    {"5N 5O", "Nigeria", 450, "AF", 35, 46, 9.1, 7.5, 1},
    {"5U", "Niger", 187, "AF", 35, 46, 13.5, 2.1, 1},
    {"TZ", "Mali", 442, "AF", 35, 46, 12.6, -8.0, 0},
    {"XT", "Burkina Faso", 480, "AF", 35, 46, 12.4, -1.5, 0},
    {"TT", "Chad", 410, "AF", 36, 47, 12.1, 15.0, 1},
    {"TJ", "Cameroon", 406, "AF", 36, 47, 3.9, 11.5, 1},
    {"TL", "Central African Republic", 408, "AF", 36, 47, 4.4, 18.6, 1},
    {"TR", "Gabon", 420, "AF", 36, 52, 0.4, 9.5, 1},
    {"TN", "Republic of the Congo", 412, "AF", 36, 52, -4.3, 15.3, 1},
    {"9Q 9R 9S 9T", "Dem. Rep. of the Congo", 414, "AF", 36, 52, -4.3, 15.3, 1},
    {"D2 D3", "Angola", 401, "AF", 36, 52, -8.8, 13.2, 1},
    {"5R 5S 6X", "Madagascar", 438, "AF", 39, 53, -18.9, 47.5, 3},
    {"3B8", "Mauritius", 165, "AF", 39, 53, -20.2, 57.5, 4},
    {"3B9", "Rodrigues Island", 207, "AF", 39, 53, -19.7, 63.4, 4},
    {"FR", "Reunion Island", 453, "AF", 39, 53, -21.1, 55.5, 4},
    {"S7", "Seychelles", 379, "AF", 39, 53, -4.6, 55.5, 4},
    {"D6", "Comoros", 411, "AF", 39, 53, -11.7, 43.3, 3},
    {"FH", "Mayotte", 169, "AF", 39, 53, -12.8, 45.2, 3},
    {"D4", "Cape Verde", 409, "AF", 35, 46, 14.9, -23.5, -1},
    {"S9", "Sao Tome and Principe", 219, "AF", 36, 47, 0.3, 6.7, 0},
    {"3C", "Equatorial Guinea", 49, "AF", 36, 47, 3.8, 8.8, 1},
    {"7P", "Lesotho", 432, "AF", 38, 57, -29.3, 27.5, 2},
    {"3DA", "Kingdom of Eswatini", 468, "AF", 38, 57, -26.3, 31.1, 2},
    {"ZD7", "St. Helena", 250, "AF", 36, 66, -15.9, -5.7, 0},
    {"ZD8", "Ascension Island", 205, "AF", 36, 66, -7.9, -14.4, 0},
    {"ZD9", "Tristan da Cunha and Gough", 274, "AF", 38, 66, -37.1, -12.3, 0},
    {"K W N AA AB AC AD AE AF AG AI AJ AK", "United States of America", 291, "NA", 5, 8, 38.0, -97.0, -5},
    {"KL7 AL7 NL7 WL7", "Alaska", 6, "NA", 1, 1, 61.2, -150.0, -9},
    {"KH6 AH6 NH6 WH6", "Hawaii", 110, "OC", 31, 61, 21.3, -157.8, -10},
    {"KP4 NP4 WP4", "Puerto Rico", 202, "NA", 8, 11, 18.2, -66.5, -4},
    {"KP2 NP2 WP2", "US Virgin Islands", 285, "NA", 8, 11, 17.7, -64.8, -4},
    {"KH2 AH2 NH2 WH2", "Guam", 103, "OC", 27, 64, 13.5, 144.8, 10},
    {"KH8 AH8 NH8 WH8", "American Samoa", 9, "OC", 32, 62, -14.3, -170.7, -11},
    {"KH0 AH0 NH0 WH0", "Mariana Islands", 166, "OC", 27, 64, 15.2, 145.7, 10},
    {"VE VA VO VY CY CZ XJ XK XL XM XN XO", "Canada", 1, "NA", 5, 9, 45.0, -75.0, -5},
    {"XE XA XB XC XD XF 4A 4B 4C 6D 6E 6F 6G 6H 6I 6J", "Mexico", 50, "NA", 6, 10, 19.4, -99.1, -6},
    {"TG TD", "Guatemala", 76, "NA", 7, 11, 14.6, -90.5, -6},
    {"V3", "Belize", 66, "NA", 7, 11, 17.3, -88.8, -6},
    {"HR HQ", "Honduras", 80, "NA", 7, 11, 14.1, -87.2, -6},
    {"YS HU", "El Salvador", 74, "NA", 7, 11, 13.7, -89.2, -6},
    {"YN H6 H7 HT", "Nicaragua", 86, "NA", 7, 11, 12.1, -86.3, -6},
    {"TI TE", "Costa Rica", 308, "NA", 7, 11, 9.9, -84.1, -6},
    {"HP HO H3 H8 H9 3E 3F", "Panama", 88, "NA", 7, 11, 9.0, -79.5, -5},
    {"CO CL CM T4", "Cuba", 70, "NA", 8, 11, 23.1, -82.4, -5},
    {"6Y", "Jamaica", 82, "NA", 8, 11, 18.0, -76.8, -5},
    {"HH 4V", "Haiti", 78, "NA", 8, 11, 18.5, -72.3, -5},
    {"HI", "Dominican Republic", 72, "NA", 8, 11, 18.5, -69.9, -4},
    {"C6", "Bahamas", 60, "NA", 8, 11, 25.1, -77.3, -5},
    {"ZF", "Cayman Islands", 69, "NA", 8, 11, 19.3, -81.4, -5},
    {"VP9", "Bermuda", 64, "NA", 5, 11, 32.3, -64.8, -4},
    {"VP5", "Turks and Caicos Islands", 89, "NA", 8, 11, 21.8, -71.8, -5},
    {"8P", "Barbados", 62, "NA", 8, 11, 13.1, -59.6, -4},
    {"9Y 9Z", "Trinidad and Tobago", 90, "SA", 9, 11, 10.7, -61.5, -4},
    {"J3", "Grenada", 77, "NA", 8, 11, 12.1, -61.7, -4},
    {"J6", "St. Lucia", 97, "NA", 8, 11, 14.0, -61.0, -4},
    {"J8", "St. Vincent", 98, "NA", 8, 11, 13.2, -61.2, -4},
    {"J7", "Dominica", 95, "NA", 8, 11, 15.4, -61.4, -4},
    {"V2", "Antigua and Barbuda", 94, "NA", 8, 11, 17.1, -61.8, -4},
    {"V4", "St. Kitts and Nevis", 249, "NA", 8, 11, 17.3, -62.7, -4},
    {"P4", "Aruba", 91, "SA", 9, 11, 12.5, -70.0, -4},
    {"PJ2", "Curacao", 517, "SA", 9, 11, 12.2, -69.0, -4},
    {"PJ4", "Bonaire", 520, "SA", 9, 11, 12.2, -68.3, -4},
    {"PJ7", "Sint Maarten", 518, "NA", 8, 11, 18.0, -63.1, -4},
    {"PJ5 PJ6", "Saba and St. Eustatius", 519, "NA", 8, 11, 17.6, -63.2, -4},
    {"FG", "Guadeloupe", 79, "NA", 8, 11, 16.2, -61.6, -4},
    {"FM", "Martinique", 84, "NA", 8, 11, 14.6, -61.0, -4},
    {"FY", "French Guiana", 63, "SA", 9, 12, 4.9, -52.3, -3},
    {"FP", "St. Pierre and Miquelon", 277, "NA", 5, 9, 46.8, -56.2, -3},
    {"PZ", "Suriname", 140, "SA", 9, 12, 5.8, -55.2, -3},
    {"8R", "Guyana", 129, "SA", 9, 12, 6.8, -58.2, -4},
    {"YV YW YX YY 4M", "Venezuela", 148, "SA", 9, 12, 10.5, -66.9, -4},
    {"HK HJ 5J 5K", "Colombia", 116, "SA", 9, 12, 4.6, -74.1, -5},
    {"HC HD", "Ecuador", 120, "SA", 10, 12, -0.2, -78.5, -5},
    {"HC8 HD8", "Galapagos Islands", 71, "SA", 10, 12, -0.7, -90.3, -6},
    {"OA OB OC 4T", "Peru", 136, "SA", 10, 12, -12.0, -77.0, -5},
    {"CP", "Bolivia", 104, "SA", 10, 12, -16.5, -68.1, -4},
    {"PY PP PQ PR PS PT PU PV PW PX ZV ZW ZX ZY ZZ", "Brazil", 108, "SA", 11, 15, -23.5, -46.6, -3},
    {"PY0F", "Fernando de Noronha", 56, "SA", 11, 13, -3.9, -32.4, -2},
    {"ZP", "Paraguay", 132, "SA", 11, 14, -25.3, -57.6, -4},
    {"CX CV CW", "Uruguay", 144, "SA", 13, 14, -34.9, -56.2, -3},
    {"LU AY AZ L2 L3 L4 L5 L6 L7 L8 L9 LO LP LQ LR LS LT LV LW", "Argentina", 100, "SA", 13, 14, -34.6, -58.4, -3},
    {"CE CA CB CC CD XQ XR 3G", "Chile", 112, "SA", 12, 14, -33.5, -70.7, -4},
    {"CE0Y XQ0Y", "Easter Island", 47, "SA", 12, 63, -27.1, -109.4, -6},
    {"CE0Z XQ0Z", "Juan Fernandez Islands", 125, "SA", 12, 14, -33.6, -78.8, -4},
    {"VP8", "Falkland Islands", 141, "SA", 13, 16, -51.7, -57.9, -3},
    {"VP8/G", "South Georgia Island", 235, "SA", 13, 73, -54.3, -36.5, -2},
    {"KC4 CE9 VP8/A", "Antarctica", 13, "SA", 13, 74, -77.8, 166.7, 12},
    {"VK AX", "Australia", 150, "OC", 30, 59, -33.9, 151.2, 10},
    {"VK9N", "Norfolk Island", 189, "OC", 32, 60, -29.0, 168.0, 11},
    {"VK9L", "Lord Howe Island", 147, "OC", 30, 60, -31.6, 159.1, 10.5},
    {"VK9X", "Christmas Island", 35, "OC", 29, 54, -10.5, 105.7, 7},
    {"VK9C", "Cocos (Keeling) Islands", 38, "OC", 29, 54, -12.2, 96.8, 6.5},
    {"ZL ZK ZM", "New Zealand", 170, "OC", 32, 60, -41.3, 174.8, 12},
    {"ZL7", "Chatham Islands", 34, "OC", 32, 60, -44.0, -176.5, 12.75},
    {"ZL8", "Kermadec Islands", 133, "OC", 32, 60, -29.3, -177.9, 12},
    {"ZK3", "Tokelau Islands", 270, "OC", 31, 62, -9.2, -171.8, 13},
    {"3D2", "Fiji", 176, "OC", 32, 56, -18.1, 178.4, 12},
    {"A3", "Tonga", 160, "OC", 32, 62, -21.1, -175.2, 13},
    {"5W", "Samoa", 190, "OC", 32, 62, -13.8, -171.8, 13},
    {"E5", "South Cook Islands", 234, "OC", 32, 63, -21.2, -159.8, -10},
    {"E6", "Niue", 188, "OC", 32, 62, -19.1, -169.9, -11},
    {"FO", "French Polynesia", 175, "OC", 32, 63, -17.5, -149.6, -10},
    {"FK", "New Caledonia", 162, "OC", 32, 56, -22.3, 166.5, 11},
    {"FW", "Wallis and Futuna Islands", 298, "OC", 32, 62, -13.3, -176.2, 12},
    {"YJ", "Vanuatu", 158, "OC", 32, 56, -17.7, 168.3, 11},
    {"H4", "Solomon Islands", 185, "OC", 28, 51, -9.4, 160.0, 11},
    {"P2", "Papua New Guinea", 163, "OC", 28, 51, -9.5, 147.2, 10},
    {"T30", "Western Kiribati", 301, "OC", 31, 65, 1.4, 173.0, 12},
    {"T2", "Tuvalu", 282, "OC", 31, 65, -8.5, 179.2, 12},
    {"C2", "Nauru", 157, "OC", 31, 65, -0.5, 166.9, 12},
    {"V7", "Marshall Islands", 168, "OC", 31, 65, 7.1, 171.4, 12},
    {"V6", "Micronesia", 173, "OC", 27, 65, 6.9, 158.2, 11},
    {"T8", "Palau", 22, "OC", 27, 64, 7.5, 134.6, 9},
    {"VP6", "Pitcairn Island", 172, "OC", 32, 63, -25.1, -130.1, -8},
    {"KH4", "Midway Island", 174, "OC", 31, 61, 28.2, -177.4, -11},
    {"KH9", "Wake Island", 297, "OC", 31, 65, 19.3, 166.6, 12},
    {"Y2 Y3 Y4 Y5 Y6 Y7 Y8 Y9", "German Democratic Republic", 229, "EU", 14, 28, 52.5, 13.4, 1, true},
    {"OK1 OK2 OK3", "Czechoslovakia", 218, "EU", 15, 28, 50.1, 14.4, 1, true},
};

std::string Fixed1(double value) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f", value == 0.0 ? 0.0 : value);
    return buf;
}

// Whole hours as "-1", fractions as "-5.5"
std::string Hours(double value) {
    char buf[32];
    if (value == std::floor(value)) {
        std::snprintf(buf, sizeof buf, "%d", static_cast<int>(value));
    } else {
        std::snprintf(buf, sizeof buf, "%g", value);
    }
    return buf;
}

}  // namespace

PrefixCatalogue::PrefixCatalogue() {
    std::vector<std::size_t> firsts;
    for (const auto& e : kEntities) {
        std::istringstream prefixes(e.prefixes);
        std::string prefix;
        std::string primary;
        while (prefixes >> prefix) {
            if (primary.empty()) {
                primary = prefix;
                firsts.push_back(m_entries.size());
            }
            m_entries.push_back({prefix, primary, e.country, std::to_string(e.id), e.continent, std::to_string(e.cq),
                                 std::to_string(e.itu), Fixed1(e.lat), Fixed1(-e.east), Hours(-e.utc), e.deleted});
        }
    }
    for (const auto index : firsts) {
        if (!m_entries[index].deleted) {
            m_live.push_back(&m_entries[index]);
        }
    }
}

std::vector<jet::Column> PrefixCatalogue::Columns() {
    using jet::Column;
    return {Column::Text("PREFIX"),     Column::Text("COUNTRY"),  Column::Text("LATITUDE"),
            Column::Text("LONGITUDE"),  Column::Bool("DEL-STATUS"), Column::Bool("QSL-FIELD-CHECK"),
            Column::Bool("QSL-BUREAU"), Column::Text("CQ-ZONE"),  Column::Text("ITU-ZONE"),
            Column::Text("ARRL-ID"),    Column::Text("CONTINENT"), Column::Text("TIMEDIFF")};
}

jet::Row PrefixCatalogue::ToRow(const Entry& e) {
    // Every current entity has a QSL bureau; the field check is what awards software asks for.
    return {e.prefix, e.country, e.latitude, e.longitude, e.deleted, !e.deleted, !e.deleted,
            e.cqZone, e.ituZone, e.entity, e.continent, e.timeDiff};
}
