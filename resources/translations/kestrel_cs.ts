<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="cs_CZ" sourcelanguage="en">
<context>
    <name>StringTable</name>
    <message>
        <source>O.K.</source>
        <comment>102</comment>
        <translation>OK</translation>
    </message>
    <message>
        <source>Error interpreting command</source>
        <comment>103</comment>
        <translation>Chyba při interpretaci příkazu</translation>
    </message>
    <message>
        <source>Error in data block</source>
        <comment>104</comment>
        <translation>Chyba v datovém bloku</translation>
    </message>
    <message>
        <source>Status error during operation</source>
        <comment>105</comment>
        <translation>Chyba stavu během operace</translation>
    </message>
    <message>
        <source>Cannot activate card</source>
        <comment>106</comment>
        <translation>Kartu nelze aktivovat</translation>
    </message>
    <message>
        <source>Cannot deactivate card</source>
        <comment>107</comment>
        <translation>Kartu nelze deaktivovat</translation>
    </message>
    <message>
        <source>Error in card initialization</source>
        <comment>108</comment>
        <translation>Chyba při inicializaci karty</translation>
    </message>
    <message>
        <source>Error in SIM card check block</source>
        <comment>109</comment>
        <translation>Chyba v kontrolním bloku karty SIM</translation>
    </message>
    <message>
        <source>Incorrect SIM card check block</source>
        <comment>110</comment>
        <translation>Nesprávný kontrolní blok karty SIM</translation>
    </message>
    <message>
        <source>Bad SIM card response</source>
        <comment>111</comment>
        <translation>Chybná odpověď karty SIM</translation>
    </message>
    <message>
        <source>Repeat attempt to activate card</source>
        <comment>112</comment>
        <translation>Opakujte pokus o aktivaci karty</translation>
    </message>
    <message>
        <source>Card is not active</source>
        <comment>113</comment>
        <translation>Karta není aktivní</translation>
    </message>
    <message>
        <source>Kestrel! - Edit SMS Message</source>
        <comment>114</comment>
        <extracomment>dialog caption</extracomment>
        <translation>Kestrel! - Úprava zprávy SMS</translation>
    </message>
    <message>
        <source>Kestrel! - Edit Message Details</source>
        <comment>115</comment>
        <extracomment>dialog caption</extracomment>
        <translation>Kestrel! - Úprava podrobností zprávy</translation>
    </message>
    <message>
        <source>Kestrel! - Sort</source>
        <comment>117</comment>
        <extracomment>dialog caption</extracomment>
        <translation>Kestrel! - Seřadit</translation>
    </message>
    <message>
        <source>Kestrel! - Dialing Code</source>
        <comment>118</comment>
        <extracomment>dialog caption</extracomment>
        <translation>Kestrel! - Předvolba</translation>
    </message>
    <message>
        <source>Bad card record</source>
        <comment>127</comment>
        <translation>Chybný záznam na kartě</translation>
    </message>
    <message>
        <source>Smartcard reader device driver not installed</source>
        <comment>128</comment>
        <translation>Ovladač čtečky čipových karet není nainstalován</translation>
    </message>
    <message>
        <source>Cannot access smartcard reader device driver</source>
        <comment>129</comment>
        <translation>Nelze získat přístup k ovladači čtečky čipových karet</translation>
    </message>
    <message>
        <source>General error during smartcard reader operation</source>
        <comment>130</comment>
        <translation>Obecná chyba při práci se čtečkou čipových karet</translation>
    </message>
    <message>
        <source>Card not inserted</source>
        <comment>131</comment>
        <translation>Karta není vložena</translation>
    </message>
    <message>
        <source>Bad SIM card response</source>
        <comment>132</comment>
        <translation>Chybná odpověď karty SIM</translation>
    </message>
    <message>
        <source>Card changed during operation</source>
        <comment>133</comment>
        <translation>Karta byla během operace vyměněna</translation>
    </message>
    <message>
        <source>Bad or missing record in card</source>
        <comment>134</comment>
        <translation>Chybný nebo chybějící záznam na kartě</translation>
    </message>
    <message>
        <source>No valid PIN entered</source>
        <comment>135</comment>
        <translation>Nebyl zadán platný PIN</translation>
    </message>
    <message>
        <source>Wrong PIN!</source>
        <comment>136</comment>
        <translation>Chybný PIN!</translation>
    </message>
    <message>
        <source>Correct COM port not set</source>
        <comment>137</comment>
        <translation>Není nastaven správný port COM</translation>
    </message>
    <message>
        <source>Smartcard reader not connected</source>
        <comment>138</comment>
        <translation>Čtečka čipových karet není připojena</translation>
    </message>
    <message>
        <source>Invalid smartcard reader identification</source>
        <comment>139</comment>
        <translation>Neplatná identifikace čtečky čipových karet</translation>
    </message>
    <message>
        <source>Non-specific error</source>
        <comment>140</comment>
        <translation>Blíže neurčená chyba</translation>
    </message>
    <message>
        <source>COM port operation error</source>
        <comment>141</comment>
        <translation>Chyba při práci s portem COM</translation>
    </message>
    <message>
        <source>Reader inaccessible (use menu Other-&gt;Setup) via </source>
        <comment>142</comment>
        <translation>Čtečka není dostupná (použijte nabídku Ostatní-&gt;Nastavení) na </translation>
    </message>
    <message>
        <source>Smartcard initialization error</source>
        <comment>143</comment>
        <translation>Chyba při inicializaci čipové karty</translation>
    </message>
    <message>
        <source>Error in smartcard reader DLL</source>
        <comment>144</comment>
        <translation>Chyba v knihovně ovladače čtečky čipových karet</translation>
    </message>
    <message>
        <source>Card not inserted</source>
        <comment>145</comment>
        <translation>Karta není vložena</translation>
    </message>
    <message>
        <source>Operation cancelled by user</source>
        <comment>146</comment>
        <translation>Operace zrušena uživatelem</translation>
    </message>
    <message>
        <source>Card positions number overflow</source>
        <comment>147</comment>
        <translation>Překročen počet pozic na kartě</translation>
    </message>
    <message>
        <source>Extension card space overflow</source>
        <comment>148</comment>
        <translation>Překročena kapacita rozšíření na kartě</translation>
    </message>
    <message>
        <source>Unaccessible card record</source>
        <comment>149</comment>
        <translation>Nepřístupný záznam na kartě</translation>
    </message>
    <message>
        <source>Card blocked, PIN is not verified</source>
        <comment>150</comment>
        <translation>Karta je zablokována, PIN není ověřen</translation>
    </message>
    <message>
        <source>Operation cancelled</source>
        <comment>151</comment>
        <translation>Operace zrušena</translation>
    </message>
    <message>
        <source>Required card file is not accessible</source>
        <comment>152</comment>
        <translation>Požadovaný soubor na kartě není přístupný</translation>
    </message>
    <message>
        <source>Card is blocked by authentification counter overflow.</source>
        <comment>153</comment>
        <translation>Karta je zablokována vyčerpáním počtu pokusů o ověření.</translation>
    </message>
    <message>
        <source>Kestrel! - Reading SMS Parameters</source>
        <comment>157</comment>
        <extracomment>dialog caption</extracomment>
        <translation>Kestrel! - Načítání parametrů SMS</translation>
    </message>
    <message>
        <source>Kestrel! - Writing SMS Parameters</source>
        <comment>158</comment>
        <extracomment>dialog caption</extracomment>
        <translation>Kestrel! - Zápis parametrů SMS</translation>
    </message>
    <message>
        <source>Kestrel! - Select Items</source>
        <comment>160</comment>
        <extracomment>dialog caption</extracomment>
        <translation>Kestrel! - Výběr položek</translation>
    </message>
    <message>
        <source>Kestrel! - Internationalize</source>
        <comment>161</comment>
        <extracomment>dialog caption</extracomment>
        <translation>Kestrel! - Převod na mezinárodní formát</translation>
    </message>
    <message>
        <source>Kestrel! - Enter PUK</source>
        <comment>163</comment>
        <extracomment>dialog caption</extracomment>
        <translation>Kestrel! - Zadání PUK</translation>
    </message>
    <message>
        <source>Telephone Card</source>
        <comment>168</comment>
        <extracomment>dialog caption</extracomment>
        <translation>Telefonní karta</translation>
    </message>
    <message>
        <source>Kestrel! - Fixed Dialing Numbers - Phone Book</source>
        <comment>171</comment>
        <extracomment>dialog caption</extracomment>
        <translation>Kestrel! - Pevná volaná čísla - Telefonní seznam</translation>
    </message>
    <message>
        <source>Kestrel! - Enter PIN2</source>
        <comment>172</comment>
        <extracomment>dialog caption</extracomment>
        <translation>Kestrel! - Zadání PIN2</translation>
    </message>
    <message>
        <source>Kestrel! - Change PIN</source>
        <comment>173</comment>
        <extracomment>dialog caption</extracomment>
        <translation>Kestrel! - Změna PIN</translation>
    </message>
    <message>
        <source>Kestrel! - Change PIN2</source>
        <comment>174</comment>
        <extracomment>dialog caption</extracomment>
        <translation>Kestrel! - Změna PIN2</translation>
    </message>
    <message>
        <source>Kestrel! - Enter PUK2</source>
        <comment>175</comment>
        <extracomment>dialog caption</extracomment>
        <translation>Kestrel! - Zadání PUK2</translation>
    </message>
    <message>
        <source>Kestrel! - Select Network</source>
        <comment>177</comment>
        <extracomment>dialog caption</extracomment>
        <translation>Kestrel! - Výběr sítě</translation>
    </message>
    <message>
        <source>Kestrel! - Check SIM Card Report</source>
        <comment>179</comment>
        <extracomment>dialog caption</extracomment>
        <translation>Kestrel! - Protokol kontroly karty SIM</translation>
    </message>
    <message>
        <source>Kestrel! - Restore Card</source>
        <comment>181</comment>
        <extracomment>dialog caption</extracomment>
        <translation>Kestrel! - Obnovení karty</translation>
    </message>
    <message>
        <source>Kestrel! - SIM Application: Input text</source>
        <comment>238</comment>
        <extracomment>dialog caption</extracomment>
        <translation>Kestrel! - Aplikace SIM: Zadání textu</translation>
    </message>
    <message>
        <source>Kestrel! - Card Operation Error</source>
        <comment>239</comment>
        <extracomment>dialog caption</extracomment>
        <translation>Kestrel! - Chyba operace s kartou</translation>
    </message>
    <message>
        <source>.</source>
        <comment>500</comment>
        <translation>.</translation>
    </message>
    <message>
        <source>.</source>
        <comment>501</comment>
        <translation>.</translation>
    </message>
    <message>
        <source>.</source>
        <comment>502</comment>
        <translation>.</translation>
    </message>
    <message>
        <source>&amp;Write to SIM!</source>
        <comment>1002</comment>
        <extracomment>control</extracomment>
        <translation>Za&amp;psat na SIM!</translation>
    </message>
    <message>
        <source>1 w&amp;eek</source>
        <comment>1008</comment>
        <extracomment>control</extracomment>
        <translation>1 týde&amp;n</translation>
    </message>
    <message>
        <source>M&amp;aximum</source>
        <comment>1009</comment>
        <extracomment>control</extracomment>
        <translation>Ma&amp;ximum</translation>
    </message>
    <message>
        <source>&amp;Find</source>
        <comment>1010</comment>
        <extracomment>control</extracomment>
        <translation>&amp;Najít</translation>
    </message>
    <message>
        <source>&amp;Replace</source>
        <comment>1011</comment>
        <extracomment>control</extracomment>
        <translation>Nah&amp;radit</translation>
    </message>
    <message>
        <source>Display: </source>
        <comment>1018</comment>
        <extracomment>control</extracomment>
        <translation>Zobrazení: </translation>
    </message>
    <message>
        <source>A&amp;utomatically read SIM</source>
        <comment>1019</comment>
        <extracomment>control</extracomment>
        <translation>&amp;Automaticky načítat SIM</translation>
    </message>
    <message>
        <source>A&amp;sk for confirmation</source>
        <comment>1020</comment>
        <extracomment>control</extracomment>
        <translation>Vyžadovat &amp;potvrzení</translation>
    </message>
    <message>
        <source>Kestrel! as &amp;toolbar</source>
        <comment>1021</comment>
        <extracomment>control</extracomment>
        <translation>Kestrel! jako pane&amp;l nástrojů</translation>
    </message>
    <message>
        <source>&amp;Write to SIM!</source>
        <comment>1024</comment>
        <extracomment>control</extracomment>
        <translation>Za&amp;psat na SIM!</translation>
    </message>
    <message>
        <source>&amp;Message status:</source>
        <comment>1025</comment>
        <extracomment>control</extracomment>
        <translation>Sta&amp;v zprávy:</translation>
    </message>
    <message>
        <source>&amp;Edit...</source>
        <comment>1027</comment>
        <extracomment>control</extracomment>
        <translation>&amp;Upravit...</translation>
    </message>
    <message>
        <source>Item &amp;nr</source>
        <comment>1028</comment>
        <extracomment>control</extracomment>
        <translation>Číslo &amp;položky</translation>
    </message>
    <message>
        <source>&amp;Phone number</source>
        <comment>1030</comment>
        <extracomment>control</extracomment>
        <translation>&amp;Telefonní číslo</translation>
    </message>
    <message>
        <source>&amp;Read from SIM</source>
        <comment>1032</comment>
        <extracomment>control</extracomment>
        <translation>&amp;Načíst ze SIM</translation>
    </message>
    <message>
        <source>&amp;All</source>
        <comment>1035</comment>
        <extracomment>control</extracomment>
        <translation>&amp;Vše</translation>
    </message>
    <message>
        <source>From:</source>
        <comment>1037</comment>
        <extracomment>control</extracomment>
        <translation>Od:</translation>
    </message>
    <message>
        <source>&amp;To:</source>
        <comment>1038</comment>
        <extracomment>control</extracomment>
        <translation>&amp;Do:</translation>
    </message>
    <message>
        <source>From Database</source>
        <comment>1039</comment>
        <extracomment>control</extracomment>
        <translation>Z databáze</translation>
    </message>
    <message>
        <source>&amp;Include empty entries</source>
        <comment>1041</comment>
        <extracomment>control</extracomment>
        <translation>Zahrnout &amp;prázdné položky</translation>
    </message>
    <message>
        <source>&amp;Read from SIM</source>
        <comment>1053</comment>
        <extracomment>control</extracomment>
        <translation>&amp;Načíst ze SIM</translation>
    </message>
    <message>
        <source>&amp;Write to SIM!</source>
        <comment>1054</comment>
        <extracomment>control</extracomment>
        <translation>Za&amp;psat na SIM!</translation>
    </message>
    <message>
        <source>&amp;Include empty entries</source>
        <comment>1080</comment>
        <extracomment>control</extracomment>
        <translation>Zahrnout &amp;prázdné položky</translation>
    </message>
    <message>
        <source>From &amp;Database</source>
        <comment>1081</comment>
        <extracomment>control</extracomment>
        <translation>Z &amp;databáze</translation>
    </message>
    <message>
        <source>To call &amp;abroad:</source>
        <comment>1082</comment>
        <extracomment>control</extracomment>
        <translation>Pro &amp;volání do zahraničí:</translation>
    </message>
    <message>
        <source>&amp;My country code:</source>
        <comment>1083</comment>
        <extracomment>control</extracomment>
        <translation>&amp;Můj kód země:</translation>
    </message>
    <message>
        <source>Re-Read</source>
        <comment>1085</comment>
        <extracomment>control</extracomment>
        <translation>Načíst znovu</translation>
    </message>
    <message>
        <source>&amp;Read from SIM</source>
        <comment>1088</comment>
        <extracomment>control</extracomment>
        <translation>&amp;Načíst ze SIM</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <comment>1092</comment>
        <extracomment>control</extracomment>
        <translation>&amp;Odstranit</translation>
    </message>
    <message>
        <source>&amp;For all numbers</source>
        <comment>1094</comment>
        <extracomment>control</extracomment>
        <translation>Pro &amp;všechna čísla</translation>
    </message>
    <message>
        <source>&amp;Add to end</source>
        <comment>1095</comment>
        <extracomment>control</extracomment>
        <translation>Přid&amp;at na konec</translation>
    </message>
    <message>
        <source>Phone book</source>
        <comment>1096</comment>
        <extracomment>control</extracomment>
        <translation>Telefonní seznam</translation>
    </message>
    <message>
        <source>Fixed Dialing Numbers</source>
        <comment>1097</comment>
        <extracomment>control</extracomment>
        <translation>Pevná volaná čísla</translation>
    </message>
    <message>
        <source>SMS messages</source>
        <comment>1098</comment>
        <extracomment>control</extracomment>
        <translation>Zprávy SMS</translation>
    </message>
    <message>
        <source>FDN Ac&amp;tive</source>
        <comment>1099</comment>
        <extracomment>control</extracomment>
        <translation>FDN ak&amp;tivní</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <comment>1104</comment>
        <extracomment>control</extracomment>
        <translation>&amp;Ne</translation>
    </message>
    <message>
        <source>&amp;Print Report</source>
        <comment>1116</comment>
        <extracomment>control</extracomment>
        <translation>&amp;Tisk protokolu</translation>
    </message>
    <message>
        <source>Card type:</source>
        <comment>1118</comment>
        <extracomment>control</extracomment>
        <translation>Typ karty:</translation>
    </message>
    <message>
        <source>Open File</source>
        <comment>2001</comment>
        <translation>Otevřít soubor</translation>
    </message>
    <message>
        <source>Save File</source>
        <comment>2002</comment>
        <translation>Uložit soubor</translation>
    </message>
    <message>
        <source>Print</source>
        <comment>2003</comment>
        <translation>Tisk</translation>
    </message>
    <message>
        <source>-</source>
        <comment>2004</comment>
        <translation>-</translation>
    </message>
    <message>
        <source>Edit Phone Book</source>
        <comment>2005</comment>
        <translation>Upravit telefonní seznam</translation>
    </message>
    <message>
        <source>Another Phone Book Window</source>
        <comment>2006</comment>
        <translation>Další okno telefonního seznamu</translation>
    </message>
    <message>
        <source>Edit SMS Messages</source>
        <comment>2007</comment>
        <translation>Upravit zprávy SMS</translation>
    </message>
    <message>
        <source>Another Window for SMS Messages</source>
        <comment>2008</comment>
        <translation>Další okno zpráv SMS</translation>
    </message>
    <message>
        <source>Enter PIN</source>
        <comment>2009</comment>
        <translation>Zadat PIN</translation>
    </message>
    <message>
        <source>-</source>
        <comment>2010</comment>
        <translation>-</translation>
    </message>
    <message>
        <source>Find/Replace (F7)</source>
        <comment>2011</comment>
        <translation>Najít/Nahradit (F7)</translation>
    </message>
    <message>
        <source>Find/Replace Next</source>
        <comment>2012</comment>
        <translation>Najít/Nahradit další</translation>
    </message>
    <message>
        <source>-</source>
        <comment>2013</comment>
        <translation>-</translation>
    </message>
    <message>
        <source>Insert Item (Ins)</source>
        <comment>2014</comment>
        <translation>Vložit položku (Ins)</translation>
    </message>
    <message>
        <source>Delete Item (Del)</source>
        <comment>2015</comment>
        <translation>Odstranit položku (Del)</translation>
    </message>
    <message>
        <source>Clear Selected Items (Ctrl+Del)</source>
        <comment>2016</comment>
        <translation>Vymazat vybrané položky (Ctrl+Del)</translation>
    </message>
    <message>
        <source>Internationalize Phone Book</source>
        <comment>2017</comment>
        <translation>Převést telefonní seznam na mezinárodní formát</translation>
    </message>
    <message>
        <source>-</source>
        <comment>2018</comment>
        <translation>-</translation>
    </message>
    <message>
        <source>Information about SIM</source>
        <comment>2019</comment>
        <translation>Informace o SIM</translation>
    </message>
    <message>
        <source>SIM Check and Repair</source>
        <comment>2020</comment>
        <translation>Kontrola a oprava SIM</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <comment>2057</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>Vyj&amp;mout</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <comment>2059</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>V&amp;ložit</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <comment>2060</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>&amp;Upravit</translation>
    </message>
    <message>
        <source>Clea&amp;r</source>
        <comment>2061</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>Vymaza&amp;t</translation>
    </message>
    <message>
        <source>command find next</source>
        <comment>2100</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>Najít další</translation>
    </message>
    <message>
        <source>Kestrel! Print</source>
        <comment>2300</comment>
        <translation>Kestrel! Tisk</translation>
    </message>
    <message>
        <source>SIM Card Report</source>
        <comment>2310</comment>
        <translation>Protokol karty SIM</translation>
    </message>
    <message>
        <source>SIM Card Detailed Report</source>
        <comment>2311</comment>
        <translation>Podrobný protokol karty SIM</translation>
    </message>
    <message>
        <source>Serial Number: </source>
        <comment>2313</comment>
        <translation>Sériové číslo: </translation>
    </message>
    <message>
        <source>Dialing Numbers: </source>
        <comment>2314</comment>
        <translation>Telefonní seznam: </translation>
    </message>
    <message>
        <source>Link to invalid extension</source>
        <comment>2315</comment>
        <translation>Odkaz na neplatné rozšíření</translation>
    </message>
    <message>
        <source>Link to empty extension</source>
        <comment>2316</comment>
        <translation>Odkaz na prázdné rozšíření</translation>
    </message>
    <message>
        <source>-&gt;Repaired</source>
        <comment>2317</comment>
        <translation>-&gt;Opraveno</translation>
    </message>
    <message>
        <source>-&gt;Remove Link to Extension</source>
        <comment>2318</comment>
        <translation>-&gt;Odstranit odkaz na rozšíření</translation>
    </message>
    <message>
        <source>OK</source>
        <comment>2319</comment>
        <translation>OK</translation>
    </message>
    <message>
        <source>Fixed Dialing Numbers:</source>
        <comment>2320</comment>
        <translation>Pevná volaná čísla:</translation>
    </message>
    <message>
        <source>Last Numbers Dialed:</source>
        <comment>2321</comment>
        <translation>Poslední volaná čísla:</translation>
    </message>
    <message>
        <source>Other Links:</source>
        <comment>2322</comment>
        <translation>Ostatní odkazy:</translation>
    </message>
    <message>
        <source>SMS:</source>
        <comment>2323</comment>
        <translation>SMS:</translation>
    </message>
    <message>
        <source>Unsupported number format</source>
        <comment>2324</comment>
        <translation>Nepodporovaný formát čísla</translation>
    </message>
    <message>
        <source>Unsupported message type</source>
        <comment>2325</comment>
        <translation>Nepodporovaný typ zprávy</translation>
    </message>
    <message>
        <source>-&gt;Remove Item</source>
        <comment>2326</comment>
        <translation>-&gt;Odstranit položku</translation>
    </message>
    <message>
        <source>Extension 1:</source>
        <comment>2327</comment>
        <translation>Rozšíření 1:</translation>
    </message>
    <message>
        <source>Lost extension</source>
        <comment>2328</comment>
        <translation>Ztracené rozšíření</translation>
    </message>
    <message>
        <source>Extension 2:</source>
        <comment>2329</comment>
        <translation>Rozšíření 2:</translation>
    </message>
    <message>
        <source>Initializing SIM Card</source>
        <comment>5000</comment>
        <translation>Inicializace karty SIM</translation>
    </message>
    <message>
        <source>Reading phone book from SIM
Reading item %u (total %u)</source>
        <comment>5001</comment>
        <translation>Načítání telefonního seznamu ze SIM
Načítání položky %u (celkem %u)</translation>
    </message>
    <message>
        <source>Checking phone book from SIM
Checking item %u (total %u)</source>
        <comment>5002</comment>
        <translation>Kontrola telefonního seznamu na SIM
Kontrola položky %u (celkem %u)</translation>
    </message>
    <message>
        <source>Writing phone book to SIM
Writing Item %u (total %u)</source>
        <comment>5003</comment>
        <translation>Zápis telefonního seznamu na SIM
Zápis položky %u (celkem %u)</translation>
    </message>
    <message>
        <source>Reading phone book from SIM
Reading item %u (total %u)</source>
        <comment>5004</comment>
        <translation>Načítání telefonního seznamu ze SIM
Načítání položky %u (celkem %u)</translation>
    </message>
    <message>
        <source>Writing Fixed Dialing Numbers to SIM
Writing item %u (total %u)</source>
        <comment>5005</comment>
        <translation>Zápis pevných volaných čísel na SIM
Zápis položky %u (celkem %u)</translation>
    </message>
    <message>
        <source>Checking Fixed Dialing Numbers on SIM
Checking item %u (total %u)</source>
        <comment>5006</comment>
        <translation>Kontrola pevných volaných čísel na SIM
Kontrola položky %u (celkem %u)</translation>
    </message>
    <message>
        <source>Verifying and recording new PIN</source>
        <comment>5007</comment>
        <translation>Ověřování a ukládání nového PIN</translation>
    </message>
    <message>
        <source>Checking SIM card condition</source>
        <comment>5008</comment>
        <translation>Kontrola stavu karty SIM</translation>
    </message>
    <message>
        <source>Reading preferred networks</source>
        <comment>5009</comment>
        <translation>Načítání preferovaných sítí</translation>
    </message>
    <message>
        <source>Writing preferred networks</source>
        <comment>5010</comment>
        <translation>Zápis preferovaných sítí</translation>
    </message>
    <message>
        <source>Checking phone number extensions
Checking item %u (total %u)</source>
        <comment>5011</comment>
        <translation>Kontrola rozšíření telefonních čísel
Kontrola položky %u (celkem %u)</translation>
    </message>
    <message>
        <source>Reading phone book from SIM
Reading item %u (total %u)</source>
        <comment>5012</comment>
        <translation>Načítání telefonního seznamu ze SIM
Načítání položky %u (celkem %u)</translation>
    </message>
    <message>
        <source>Reading phone book from SIM
Reading item %u (total %u)</source>
        <comment>5013</comment>
        <translation>Načítání telefonního seznamu ze SIM
Načítání položky %u (celkem %u)</translation>
    </message>
    <message>
        <source>Writing phone book to  SIM
Writing Item %u (total %u)</source>
        <comment>5014</comment>
        <translation>Zápis telefonního seznamu na SIM
Zápis položky %u (celkem %u)</translation>
    </message>
    <message>
        <source>Writing phone book to  SIM
Writing Item %u (total %u)</source>
        <comment>5015</comment>
        <translation>Zápis telefonního seznamu na SIM
Zápis položky %u (celkem %u)</translation>
    </message>
    <message>
        <source>Checking SMS messages on SIM
Checking Item %u (total %u)</source>
        <comment>5016</comment>
        <translation>Kontrola zpráv SMS na SIM
Kontrola položky %u (celkem %u)</translation>
    </message>
    <message>
        <source>Reading SMS messages from SIM
Reading item %u (total %u)</source>
        <comment>5017</comment>
        <translation>Načítání zpráv SMS ze SIM
Načítání položky %u (celkem %u)</translation>
    </message>
    <message>
        <source>Writing SMS messages to SIM
Writing Item %u (total %u)</source>
        <comment>5018</comment>
        <translation>Zápis zpráv SMS na SIM
Zápis položky %u (celkem %u)</translation>
    </message>
    <message>
        <source>Reading list of forbidden networks</source>
        <comment>5019</comment>
        <translation>Načítání seznamu zakázaných sítí</translation>
    </message>
    <message>
        <source>Writing list of forbidden networks</source>
        <comment>5020</comment>
        <translation>Zápis seznamu zakázaných sítí</translation>
    </message>
    <message>
        <source>Kestrel! - Reading Phone Book</source>
        <comment>5100</comment>
        <translation>Kestrel! - Načítání telefonního seznamu</translation>
    </message>
    <message>
        <source>Kestrel! - Writing Phone Book</source>
        <comment>5101</comment>
        <translation>Kestrel! - Zápis telefonního seznamu</translation>
    </message>
    <message>
        <source>Kestrel! - Reading Fixed Dialing Numbers</source>
        <comment>5102</comment>
        <translation>Kestrel! - Načítání pevných volaných čísel</translation>
    </message>
    <message>
        <source>Kestrel! - Writing Fixed Dialing Numbers</source>
        <comment>5103</comment>
        <translation>Kestrel! - Zápis pevných volaných čísel</translation>
    </message>
    <message>
        <source>Kestrel! - Unblocking SIM Card</source>
        <comment>5105</comment>
        <translation>Kestrel! - Odblokování karty SIM</translation>
    </message>
    <message>
        <source>Kestrel! - Working on SIM Card</source>
        <comment>5106</comment>
        <translation>Kestrel! - Práce s kartou SIM</translation>
    </message>
    <message>
        <source>Kestrel! - Checking SIM Card</source>
        <comment>5107</comment>
        <translation>Kestrel! - Kontrola karty SIM</translation>
    </message>
    <message>
        <source>Kestrel! - Backing-Up SIM Card</source>
        <comment>5108</comment>
        <translation>Kestrel! - Zálohování karty SIM</translation>
    </message>
    <message>
        <source>Kestrel! - Restoring SIM Card</source>
        <comment>5109</comment>
        <translation>Kestrel! - Obnovení karty SIM</translation>
    </message>
    <message>
        <source>Kestrel! - Repairing SIM Card</source>
        <comment>5110</comment>
        <translation>Kestrel! - Oprava karty SIM</translation>
    </message>
    <message>
        <source>Kestrel! - Reading SMS message</source>
        <comment>5111</comment>
        <translation>Kestrel! - Načítání zprávy SMS</translation>
    </message>
    <message>
        <source>Kestrel! - Writing SMS message</source>
        <comment>5112</comment>
        <translation>Kestrel! - Zápis zprávy SMS</translation>
    </message>
    <message>
        <source>Communication error:</source>
        <comment>5301</comment>
        <translation>Chyba komunikace:</translation>
    </message>
    <message>
        <source>Entered name has too many characters</source>
        <comment>5500</comment>
        <translation>Zadané jméno má příliš mnoho znaků</translation>
    </message>
    <message>
        <source>Some of the entries do not have numbers</source>
        <comment>5501</comment>
        <translation>Některé položky nemají čísla</translation>
    </message>
    <message>
        <source>Some of the entries do not have names</source>
        <comment>5502</comment>
        <translation>Některé položky nemají jména</translation>
    </message>
    <message>
        <source>Entered Phone Book contains too many numbers</source>
        <comment>5503</comment>
        <translation>Zadaný telefonní seznam obsahuje příliš mnoho čísel</translation>
    </message>
    <message>
        <source>Number entered contains too many characters</source>
        <comment>5504</comment>
        <translation>Zadané číslo má příliš mnoho znaků</translation>
    </message>
    <message>
        <source>Too many items in phone book</source>
        <comment>5505</comment>
        <translation>Příliš mnoho položek v telefonním seznamu</translation>
    </message>
    <message>
        <source>New PIN was not entered correctly</source>
        <comment>5600</comment>
        <translation>Nový PIN nebyl zadán správně</translation>
    </message>
    <message>
        <source>Entered PIN is too short </source>
        <comment>5601</comment>
        <translation>Zadaný PIN je příliš krátký </translation>
    </message>
    <message>
        <source>PIN successfuly changed</source>
        <comment>5602</comment>
        <translation>PIN byl úspěšně změněn</translation>
    </message>
    <message>
        <source>Karta je zablokována. Chcete nyní kartu odblokovat?
K této operaci je třeba znát PUK1 případně PUK2.</source>
        <comment>5603</comment>
        <translation>Karta je zablokována. Chcete nyní kartu odblokovat?
K této operaci je třeba znát PUK1 případně PUK2.</translation>
    </message>
    <message>
        <source>Card was successfuly unblocked</source>
        <comment>5604</comment>
        <translation>Karta byla úspěšně odblokována</translation>
    </message>
    <message>
        <source>Fixed Dialing Numbers activated.
Deactivate them?</source>
        <comment>5605</comment>
        <translation>Pevná volaná čísla jsou aktivována.
Chcete je deaktivovat?</translation>
    </message>
    <message>
        <source>Fixed Dialing Numbers deactivated.
Activate them?</source>
        <comment>5606</comment>
        <translation>Pevná volaná čísla jsou deaktivována.
Chcete je aktivovat?</translation>
    </message>
    <message>
        <source>PIN is activated.  Deactivate it?</source>
        <comment>5607</comment>
        <translation>PIN je aktivován. Chcete jej deaktivovat?</translation>
    </message>
    <message>
        <source>PIN is deactivated.  Activate it?</source>
        <comment>5608</comment>
        <translation>PIN je deaktivován. Chcete jej aktivovat?</translation>
    </message>
    <message>
        <source>Entry can not be overwritten, password protected</source>
        <comment>5609</comment>
        <translation>Položku nelze přepsat, je chráněna heslem</translation>
    </message>
    <message>
        <source>&lt;Entry can not be ovewritten&gt;</source>
        <comment>5610</comment>
        <translation>&lt;Položku nelze přepsat&gt;</translation>
    </message>
    <message>
        <source>PIN is now off</source>
        <comment>5611</comment>
        <translation>PIN je nyní vypnut</translation>
    </message>
    <message>
        <source>PIN is now on</source>
        <comment>5612</comment>
        <translation>PIN je nyní zapnut</translation>
    </message>
    <message>
        <source>Card is blocked by authentification counter overflow.&#xd;
It is not usable for calls, but some information may be accessible.</source>
        <comment>5615</comment>
        <translation>Karta je zablokována vyčerpáním počtu pokusů o ověření.&#xd;
Nelze ji použít k volání, ale některé informace mohou být dostupné.</translation>
    </message>
    <message>
        <source>#</source>
        <comment>5800</comment>
        <translation>#</translation>
    </message>
    <message>
        <source>Name:</source>
        <comment>5801</comment>
        <translation>Jméno:</translation>
    </message>
    <message>
        <source>Telephone</source>
        <comment>5802</comment>
        <translation>Telefon</translation>
    </message>
    <message>
        <source>#</source>
        <comment>5820</comment>
        <translation>#</translation>
    </message>
    <message>
        <source>Telephone</source>
        <comment>5821</comment>
        <translation>Telefon</translation>
    </message>
    <message>
        <source>Condition:</source>
        <comment>5822</comment>
        <translation>Stav:</translation>
    </message>
    <message>
        <source>Date / Validity period:</source>
        <comment>5823</comment>
        <translation>Datum / doba platnosti:</translation>
    </message>
    <message>
        <source>Full Details</source>
        <comment>6000</comment>
        <translation>Podrobný výpis</translation>
    </message>
    <message>
        <source>Brief Details</source>
        <comment>6001</comment>
        <translation>Stručný výpis</translation>
    </message>
    <message>
        <source>Global</source>
        <comment>6100</comment>
        <translation>Obecné</translation>
    </message>
    <message>
        <source>Phone Book and SMS</source>
        <comment>6101</comment>
        <translation>Telefonní seznam a SMS</translation>
    </message>
    <message>
        <source>Called Numbers</source>
        <comment>6102</comment>
        <translation>Volaná čísla</translation>
    </message>
    <message>
        <source>Personal Numbers</source>
        <comment>6103</comment>
        <translation>Vlastní čísla</translation>
    </message>
    <message>
        <source>SIM Application</source>
        <comment>6104</comment>
        <translation>Aplikace SIM</translation>
    </message>
    <message>
        <source>None</source>
        <comment>6150</comment>
        <translation>Žádné</translation>
    </message>
    <message>
        <source>Check-up finished: </source>
        <comment>6210</comment>
        <translation>Kontrola dokončena: </translation>
    </message>
    <message>
        <source>%m-%d-%Y %H:%M:%S</source>
        <comment>6211</comment>
        <translation>%d.%m.%Y %H:%M:%S</translation>
    </message>
    <message>
        <source>Card was not blocked. Do you want anyway to unblock it and change the PIN1?</source>
        <comment>6220</comment>
        <translation>Karta nebyla zablokována. Chcete ji přesto odblokovat a změnit PIN1?</translation>
    </message>
    <message>
        <source>SIM card global information</source>
        <comment>6271</comment>
        <translation>Obecné informace o kartě SIM</translation>
    </message>
    <message>
        <source>Preffered networks list:</source>
        <comment>6272</comment>
        <translation>Seznam preferovaných sítí:</translation>
    </message>
    <message>
        <source>Forbidden networks list:</source>
        <comment>6273</comment>
        <translation>Seznam zakázaných sítí:</translation>
    </message>
    <message>
        <source>International code:</source>
        <comment>9000</comment>
        <translation>Mezinárodní kód:</translation>
    </message>
    <message>
        <source>SIM Phase:</source>
        <comment>9001</comment>
        <translation>Fáze SIM:</translation>
    </message>
    <message>
        <source>Supported:</source>
        <comment>9002</comment>
        <translation>Podporováno:</translation>
    </message>
    <message>
        <source>Limit:</source>
        <comment>9003</comment>
        <translation>Limit:</translation>
    </message>
    <message>
        <source>Activated:</source>
        <comment>9004</comment>
        <translation>Aktivováno:</translation>
    </message>
    <message>
        <source>Currency:</source>
        <comment>9005</comment>
        <translation>Měna:</translation>
    </message>
    <message>
        <source>Price per unit:</source>
        <comment>9006</comment>
        <translation>Cena za jednotku:</translation>
    </message>
    <message>
        <source>Sum used:</source>
        <comment>9007</comment>
        <translation>Spotřebovaná částka:</translation>
    </message>
    <message>
        <source>Credit remaining:</source>
        <comment>9008</comment>
        <translation>Zbývající kredit:</translation>
    </message>
    <message>
        <source>List:	Items:	Name length max</source>
        <comment>9009</comment>
        <translation>Seznam:	Položek:	Max. délka jména</translation>
    </message>
    <message>
        <source>Phone book</source>
        <comment>9010</comment>
        <translation>Telefonní seznam</translation>
    </message>
    <message>
        <source>FDN</source>
        <comment>9011</comment>
        <translation>FDN</translation>
    </message>
    <message>
        <source>SMS</source>
        <comment>9012</comment>
        <translation>SMS</translation>
    </message>
    <message>
        <source>Last number dialed</source>
        <comment>9013</comment>
        <translation>Poslední volané číslo</translation>
    </message>
    <message>
        <source>Self dial number</source>
        <comment>9014</comment>
        <translation>Vlastní číslo</translation>
    </message>
    <message>
        <source>Items number:</source>
        <comment>9015</comment>
        <translation>Počet položek:</translation>
    </message>
    <message>
        <source>Name length max:</source>
        <comment>9016</comment>
        <translation>Max. délka jména:</translation>
    </message>
    <message>
        <source>No smartcard reader connected!</source>
        <comment>9017</comment>
        <translation>Není připojena žádná čtečka čipových karet!</translation>
    </message>
    <message>
        <source>Error during card operation:</source>
        <comment>9018</comment>
        <translation>Chyba při operaci s kartou:</translation>
    </message>
    <message>
        <source>Not a valid telephone card</source>
        <comment>9019</comment>
        <translation>Není to platná telefonní karta</translation>
    </message>
    <message>
        <source>Application error, some parameters are not available</source>
        <comment>9020</comment>
        <translation>Chyba aplikace, některé parametry nejsou dostupné</translation>
    </message>
    <message>
        <source>Kestrel! - SIM Application: Select item</source>
        <comment>9021</comment>
        <translation>Kestrel! - Aplikace SIM: Výběr položky</translation>
    </message>
    <message>
        <source>Shop: </source>
        <comment>9022</comment>
        <translation>Prodejna: </translation>
    </message>
    <message>
        <source>Address:</source>
        <comment>9023</comment>
        <translation>Adresa:</translation>
    </message>
    <message>
        <source>Salesperson: </source>
        <comment>9024</comment>
        <translation>Prodejce: </translation>
    </message>
    <message>
        <source>Phone:</source>
        <comment>9025</comment>
        <translation>Telefon:</translation>
    </message>
    <message>
        <source>Fax:</source>
        <comment>9026</comment>
        <translation>Fax:</translation>
    </message>
    <message>
        <source>Comment:</source>
        <comment>9027</comment>
        <translation>Poznámka:</translation>
    </message>
    <message>
        <source>Not accessible</source>
        <comment>9028</comment>
        <translation>Nepřístupné</translation>
    </message>
    <message>
        <source>Print time:</source>
        <comment>9029</comment>
        <translation>Čas tisku:</translation>
    </message>
    <message>
        <source>Card ICCID:</source>
        <comment>9030</comment>
        <translation>ICCID karty:</translation>
    </message>
    <message>
        <source>E-mail:</source>
        <comment>9031</comment>
        <translation>E-mail:</translation>
    </message>
    <message>
        <source>Kestrel! - Find / Replace</source>
        <comment>9200</comment>
        <extracomment>dialog 104 caption</extracomment>
        <translation>Kestrel! - Najít / Nahradit</translation>
    </message>
    <message>
        <source>Find &amp;string:</source>
        <comment>9201</comment>
        <extracomment>dialog 104 label</extracomment>
        <translation>&amp;Hledaný text:</translation>
    </message>
    <message>
        <source>Replace &amp;with:</source>
        <comment>9202</comment>
        <extracomment>dialog 104 label</extracomment>
        <translation>Nahradit &amp;textem:</translation>
    </message>
    <message>
        <source>&amp;Name</source>
        <comment>9203</comment>
        <extracomment>dialog 104 radio button</extracomment>
        <translation>&amp;Jméno</translation>
    </message>
    <message>
        <source>&amp;Phone number</source>
        <comment>9204</comment>
        <extracomment>dialog 104 radio button</extracomment>
        <translation>Tele&amp;fonní číslo</translation>
    </message>
    <message>
        <source>&amp;Dialing code</source>
        <comment>9205</comment>
        <extracomment>dialog 104 radio button</extracomment>
        <translation>&amp;Předvolba</translation>
    </message>
    <message>
        <source>&amp;Everywhere</source>
        <comment>9206</comment>
        <extracomment>dialog 104 radio button</extracomment>
        <translation>&amp;Všude</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <comment>9207</comment>
        <extracomment>dialog 104 button</extracomment>
        <translation>&amp;Zavřít</translation>
    </message>
    <message>
        <source>Kestrel! - Replacing Entries</source>
        <comment>9208</comment>
        <extracomment>dialog 128 caption</extracomment>
        <translation>Kestrel! - Nahrazování položek</translation>
    </message>
    <message>
        <source>Overwrite this entry?</source>
        <comment>9209</comment>
        <extracomment>dialog 128 text</extracomment>
        <translation>Přepsat tuto položku?</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <comment>9210</comment>
        <extracomment>dialog 128 button</extracomment>
        <translation>&amp;Ano</translation>
    </message>
    <message>
        <source>Kestrel! - Add Entries from File</source>
        <comment>9211</comment>
        <extracomment>dialog 139 caption</extracomment>
        <translation>Kestrel! - Přidat položky ze souboru</translation>
    </message>
    <message>
        <source>Kestrel! - Write to File</source>
        <comment>9212</comment>
        <extracomment>dialog 140 caption</extracomment>
        <translation>Kestrel! - Zápis do souboru</translation>
    </message>
    <message>
        <source>&amp;From item</source>
        <comment>9213</comment>
        <extracomment>dialogs 139, 140 label</extracomment>
        <translation>&amp;Od položky</translation>
    </message>
    <message>
        <source>&amp;To item</source>
        <comment>9214</comment>
        <extracomment>dialog 140 label</extracomment>
        <translation>&amp;Do položky</translation>
    </message>
    <message>
        <source>Kestrel!</source>
        <comment>9300</comment>
        <translation>Kestrel!</translation>
    </message>
    <message>
        <source>K e s t r e l !</source>
        <comment>9301</comment>
        <translation>K e s t r e l !</translation>
    </message>
    <message>
        <source>&amp;Phone Book</source>
        <comment>9302</comment>
        <translation>&amp;Telefonní seznam</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <comment>9303</comment>
        <translation>Úpr&amp;avy</translation>
    </message>
    <message>
        <source>&amp;SMS</source>
        <comment>9304</comment>
        <translation>&amp;SMS</translation>
    </message>
    <message>
        <source>&amp;PIN</source>
        <comment>9305</comment>
        <translation>&amp;PIN</translation>
    </message>
    <message>
        <source>&amp;Other</source>
        <comment>9306</comment>
        <translation>&amp;Ostatní</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <comment>9307</comment>
        <translation>Nápo&amp;věda</translation>
    </message>
    <message>
        <source>C&amp;lear Selected Items</source>
        <comment>9308</comment>
        <translation>Vymazat vy&amp;brané položky</translation>
    </message>
    <message>
        <source>&amp;Find/Replace...</source>
        <comment>9309</comment>
        <translation>&amp;Najít/Nahradit...</translation>
    </message>
    <message>
        <source>Print &amp;Font...</source>
        <comment>9310</comment>
        <translation>Pís&amp;mo tisku...</translation>
    </message>
    <message>
        <source>What&apos;s &amp;This?</source>
        <comment>9311</comment>
        <translation>Co je &amp;to?</translation>
    </message>
    <message>
        <source>Kestrel! - Enter PIN</source>
        <comment>9312</comment>
        <translation>Kestrel! - Zadání PIN</translation>
    </message>
    <message>
        <source>Please enter PIN:</source>
        <comment>9313</comment>
        <translation>Zadejte PIN:</translation>
    </message>
    <message>
        <source>Please enter PIN2:</source>
        <comment>9314</comment>
        <translation>Zadejte PIN2:</translation>
    </message>
    <message>
        <source>Enter old PIN: </source>
        <comment>9315</comment>
        <translation>Zadejte starý PIN: </translation>
    </message>
    <message>
        <source>Enter new PIN: </source>
        <comment>9316</comment>
        <translation>Zadejte nový PIN: </translation>
    </message>
    <message>
        <source>Re-enter new PIN: </source>
        <comment>9317</comment>
        <translation>Znovu zadejte nový PIN: </translation>
    </message>
    <message>
        <source>Enter old PIN2: </source>
        <comment>9318</comment>
        <translation>Zadejte starý PIN2: </translation>
    </message>
    <message>
        <source>Enter new PIN2: </source>
        <comment>9319</comment>
        <translation>Zadejte nový PIN2: </translation>
    </message>
    <message>
        <source>Re-enter new PIN2: </source>
        <comment>9320</comment>
        <translation>Znovu zadejte nový PIN2: </translation>
    </message>
    <message>
        <source>Enter PUK: </source>
        <comment>9321</comment>
        <translation>Zadejte PUK: </translation>
    </message>
    <message>
        <source>Enter PUK2: </source>
        <comment>9322</comment>
        <translation>Zadejte PUK2: </translation>
    </message>
    <message>
        <source>Re-enter PIN2: </source>
        <comment>9323</comment>
        <translation>Znovu zadejte PIN2: </translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <comment>9324</comment>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <comment>9325</comment>
        <translation>&amp;Zrušit</translation>
    </message>
    <message>
        <source>&amp;Abort</source>
        <comment>9326</comment>
        <translation>&amp;Přerušit</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <comment>9327</comment>
        <translation>&amp;Zavřít</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <comment>9328</comment>
        <translation>&amp;Tisk</translation>
    </message>
    <message>
        <source>Kestrel! - Open File</source>
        <comment>9329</comment>
        <translation>Kestrel! - Otevřít soubor</translation>
    </message>
    <message>
        <source>&amp;File of type: </source>
        <comment>9330</comment>
        <translation>&amp;Typ souboru: </translation>
    </message>
    <message>
        <source>Kestrel! - Adjust Print Information</source>
        <comment>9331</comment>
        <translation>Kestrel! - Upravit informace pro tisk</translation>
    </message>
    <message>
        <source>Comment: </source>
        <comment>9332</comment>
        <translation>Poznámka: </translation>
    </message>
    <message>
        <source>About Kestrel!</source>
        <comment>9333</comment>
        <translation>O programu Kestrel!</translation>
    </message>
    <message>
        <source>Version %1</source>
        <comment>9334</comment>
        <translation>Verze %1</translation>
    </message>
    <message>
        <source>A desktop editor for GSM SIM cards: the phone book, fixed dialling numbers, SMS messages and network lists, PIN codes, card information, check and repair, backup and printing, through a smart-card reader or the built-in virtual card.</source>
        <comment>9335</comment>
        <translation>Editor karet GSM SIM pro pracovní plochu: telefonní seznam, pevná volaná čísla, zprávy SMS a seznamy sítí, kódy PIN, informace o kartě, kontrola a oprava, zálohování a tisk, prostřednictvím čtečky čipových karet nebo vestavěné virtuální karty.</translation>
    </message>
    <message>
        <source>Built with Qt %1 (running on Qt %2)</source>
        <comment>9336</comment>
        <translation>Sestaveno s Qt %1 (běží na Qt %2)</translation>
    </message>
    <message>
        <source>This program comes with ABSOLUTELY NO WARRANTY; it is distributed under the terms of the licence that comes with it.</source>
        <comment>9337</comment>
        <translation>Tento program je poskytován ABSOLUTNĚ BEZ ZÁRUKY; je šířen za podmínek licence, která je k němu přiložena.</translation>
    </message>
    <message>
        <source>Desktop editor for GSM SIM cards.</source>
        <comment>9338</comment>
        <translation>Editor karet GSM SIM pro pracovní plochu.</translation>
    </message>
    <message>
        <source>Use the reader DEV for this run without changing the setting (COM1-COM8, PCSC:&lt;reader&gt;, KVRI DRIVER, PCMCIA FY-1300, VIRTUAL, VIRTUAL:&lt;card file&gt;, NOTHING).</source>
        <comment>9339</comment>
        <translation>Pro toto spuštění použít čtečku DEV bez změny nastavení (COM1-COM8, PCSC:&lt;čtečka&gt;, KVRI DRIVER, PCMCIA FY-1300, VIRTUAL, VIRTUAL:&lt;soubor karty&gt;, NOTHING).</translation>
    </message>
    <message>
        <source>DEV</source>
        <comment>9340</comment>
        <translation>DEV</translation>
    </message>
    <message>
        <source>Do not show the program information at start-up.</source>
        <comment>9341</comment>
        <translation>Nezobrazovat při spuštění informace o programu.</translation>
    </message>
    <message>
        <source>%1 cannot be restored to this card whole; nothing was written to the card.</source>
        <comment>9400</comment>
        <translation>%1: nelze obnovit na tuto kartu v plném rozsahu; na kartu nebylo nic zapsáno.</translation>
    </message>
    <message>
        <source>The backup file was written, but these parts of the card could not be read and are missing from it:</source>
        <comment>9401</comment>
        <translation>Záložní soubor byl zapsán, ale tyto části karty nebylo možné přečíst a v souboru chybí:</translation>
    </message>
    <message>
        <source>The card in the reader is not the card that was checked. Nothing was repaired.</source>
        <comment>9402</comment>
        <translation>Karta ve čtečce není ta, která byla kontrolována. Nic nebylo opraveno.</translation>
    </message>
    <message>
        <source>Kestrel! - Setup</source>
        <comment>9500</comment>
        <extracomment>dialog caption (Setup)</extracomment>
        <translation>Kestrel! - Nastavení</translation>
    </message>
    <message>
        <source>Reader connection</source>
        <comment>9501</comment>
        <extracomment>control (Setup group)</extracomment>
        <translation>Připojení čtečky</translation>
    </message>
    <message>
        <source>&amp;Find Reader</source>
        <comment>9502</comment>
        <extracomment>control (Setup)</extracomment>
        <translation>&amp;Najít čtečku</translation>
    </message>
    <message>
        <source>A&amp;utomatically read SIM</source>
        <comment>9503</comment>
        <extracomment>control (Setup)</extracomment>
        <translation>&amp;Automaticky načítat SIM</translation>
    </message>
    <message>
        <source>&amp;Use cache</source>
        <comment>9504</comment>
        <extracomment>control (Setup)</extracomment>
        <translation>Použí&amp;t mezipaměť</translation>
    </message>
    <message>
        <source>Prompt before print</source>
        <comment>9505</comment>
        <extracomment>control (Setup)</extracomment>
        <translation>Před tiskem zobrazit dotaz</translation>
    </message>
    <message>
        <source>Internationalization settings</source>
        <comment>9506</comment>
        <extracomment>control (Setup group)</extracomment>
        <translation>Nastavení mezinárodního formátu</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <comment>9507</comment>
        <extracomment>control (Setup)</extracomment>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <comment>9508</comment>
        <extracomment>control (Setup)</extracomment>
        <translation>&amp;Zavřít</translation>
    </message>
    <message>
        <source>Smartcard reader is connected to port:  </source>
        <comment>9509</comment>
        <translation>Čtečka čipových karet je připojena k portu:  </translation>
    </message>
    <message>
        <source>No smartcard reader found!</source>
        <comment>9510</comment>
        <translation>Nebyla nalezena žádná čtečka čipových karet!</translation>
    </message>
    <message>
        <source>Kestrel! - Find Card Peripheral</source>
        <comment>9511</comment>
        <extracomment>dialog caption (reader search)</extracomment>
        <translation>Kestrel! - Hledání čtečky karet</translation>
    </message>
    <message>
        <source>Locating reader on:</source>
        <comment>9512</comment>
        <extracomment>control (reader search)</extracomment>
        <translation>Hledání čtečky na:</translation>
    </message>
    <message>
        <source>Kestrel! - Country Dialing Codes</source>
        <comment>9513</comment>
        <extracomment>dialog caption (country codes)</extracomment>
        <translation>Kestrel! - Předvolby zemí</translation>
    </message>
    <message>
        <source>OK</source>
        <comment>9514</comment>
        <extracomment>control (country codes)</extracomment>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <comment>9515</comment>
        <extracomment>control (country codes)</extracomment>
        <translation>Zrušit</translation>
    </message>
    <message>
        <source>Units remaining:</source>
        <comment>9516</comment>
        <extracomment>control (telephone card)</extracomment>
        <translation>Zbývající jednotky:</translation>
    </message>
    <message>
        <source>Total card units:</source>
        <comment>9517</comment>
        <extracomment>control (telephone card)</extracomment>
        <translation>Celkem jednotek karty:</translation>
    </message>
    <message>
        <source>Country: </source>
        <comment>9518</comment>
        <extracomment>control (telephone card)</extracomment>
        <translation>Země: </translation>
    </message>
    <message>
        <source>Binary data</source>
        <comment>9519</comment>
        <extracomment>control (telephone card group)</extracomment>
        <translation>Binární data</translation>
    </message>
    <message>
        <source>Close</source>
        <comment>9520</comment>
        <extracomment>control (telephone card)</extracomment>
        <translation>Zavřít</translation>
    </message>
    <message>
        <source>&#xd;
  -&gt;  </source>
        <comment>9521</comment>
        <extracomment>between the device and the reason of &quot;Reader inaccessible&quot;</extracomment>
        <translation>&#xd;
  -&gt;  </translation>
    </message>
    <message>
        <source>Kestrel! - Phone Book</source>
        <comment>9600</comment>
        <extracomment>phone book window caption</extracomment>
        <translation>Kestrel! - Telefonní seznam</translation>
    </message>
    <message>
        <source>&amp;Read from SIM</source>
        <comment>9601</comment>
        <extracomment>phone book window</extracomment>
        <translation>&amp;Načíst ze SIM</translation>
    </message>
    <message>
        <source>&amp;Write to SIM!</source>
        <comment>9602</comment>
        <extracomment>phone book window</extracomment>
        <translation>Za&amp;psat na SIM!</translation>
    </message>
    <message>
        <source>&amp;Edit...</source>
        <comment>9603</comment>
        <extracomment>phone book window</extracomment>
        <translation>&amp;Upravit...</translation>
    </message>
    <message>
        <source>&amp;Find...</source>
        <comment>9604</comment>
        <extracomment>phone book window</extracomment>
        <translation>&amp;Hledat...</translation>
    </message>
    <message>
        <source>&amp;Sort...</source>
        <comment>9605</comment>
        <extracomment>phone book window</extracomment>
        <translation>&amp;Seřadit...</translation>
    </message>
    <message>
        <source>&amp;Add Code...</source>
        <comment>9606</comment>
        <extracomment>phone book window</extracomment>
        <translation>Přid&amp;at předvolbu...</translation>
    </message>
    <message>
        <source>Clear All</source>
        <comment>9607</comment>
        <extracomment>phone book window</extracomment>
        <translation>Vymazat vše</translation>
    </message>
    <message>
        <source>&amp;Delete All</source>
        <comment>9608</comment>
        <extracomment>fixed dialling numbers window</extracomment>
        <translation>&amp;Odstranit vše</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <comment>9609</comment>
        <extracomment>phone book windows</extracomment>
        <translation>&amp;Zavřít</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <comment>9610</comment>
        <extracomment>phone book context menu</extracomment>
        <translation>&amp;Kopírovat</translation>
    </message>
    <message>
        <source>Kestrel! - Edit Phone Book Entry</source>
        <comment>9611</comment>
        <extracomment>dialog caption</extracomment>
        <translation>Kestrel! - Úprava položky telefonního seznamu</translation>
    </message>
    <message>
        <source>N&amp;ame</source>
        <comment>9612</comment>
        <extracomment>edit entry</extracomment>
        <translation>&amp;Jméno</translation>
    </message>
    <message>
        <source>&amp;Dialing Code...</source>
        <comment>9613</comment>
        <extracomment>edit entry</extracomment>
        <translation>Př&amp;edvolba...</translation>
    </message>
    <message>
        <source>OK</source>
        <comment>9614</comment>
        <extracomment>dialog button</extracomment>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <comment>9615</comment>
        <extracomment>dialog button</extracomment>
        <translation>Zrušit</translation>
    </message>
    <message>
        <source>Dialing &amp;code:</source>
        <comment>9616</comment>
        <extracomment>add code</extracomment>
        <translation>&amp;Předvolba:</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <comment>9617</comment>
        <extracomment>replacing entries, adjust print information</extracomment>
        <translation>&amp;Zrušit</translation>
    </message>
    <message>
        <source>Kestrel! - Edit SMS Messages</source>
        <comment>9640</comment>
        <extracomment>SMS window caption (dialog 106)</extracomment>
        <translation>Kestrel! - Úprava zpráv SMS</translation>
    </message>
    <message>
        <source>Message text:</source>
        <comment>9641</comment>
        <extracomment>SMS window detail 1012</extracomment>
        <translation>Text zprávy:</translation>
    </message>
    <message>
        <source>Date / Validity:</source>
        <comment>9642</comment>
        <extracomment>SMS window detail 1013</extracomment>
        <translation>Datum / platnost:</translation>
    </message>
    <message>
        <source>Status:</source>
        <comment>9643</comment>
        <extracomment>SMS window detail 1014</extracomment>
        <translation>Stav:</translation>
    </message>
    <message>
        <source>Phone number:</source>
        <comment>9644</comment>
        <extracomment>SMS window detail 1015</extracomment>
        <translation>Telefonní číslo:</translation>
    </message>
    <message>
        <source>SMS center:</source>
        <comment>9645</comment>
        <extracomment>SMS window detail 1016</extracomment>
        <translation>Centrum SMS:</translation>
    </message>
    <message>
        <source>C&amp;lear All</source>
        <comment>9646</comment>
        <extracomment>SMS window button 5</extracomment>
        <translation>Vymazat &amp;vše</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <comment>9647</comment>
        <extracomment>SMS window button 2</extracomment>
        <translation>&amp;Zavřít</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <comment>9648</comment>
        <extracomment>SMS context menu 2058</extracomment>
        <translation>&amp;Kopírovat</translation>
    </message>
    <message>
        <source>&amp;Message text:</source>
        <comment>9649</comment>
        <extracomment>edit SMS message 1012</extracomment>
        <translation>&amp;Text zprávy:</translation>
    </message>
    <message>
        <source>Message length:</source>
        <comment>9650</comment>
        <extracomment>edit SMS message 1013</extracomment>
        <translation>Délka zprávy:</translation>
    </message>
    <message>
        <source>P&amp;hone number:</source>
        <comment>9651</comment>
        <extracomment>edit SMS message 1015</extracomment>
        <translation>Telefonní čí&amp;slo:</translation>
    </message>
    <message>
        <source>From &amp;Phone Book...</source>
        <comment>9652</comment>
        <extracomment>edit SMS message, message details 1052</extracomment>
        <translation>Z tele&amp;fonního seznamu...</translation>
    </message>
    <message>
        <source>D&amp;ialing Code...</source>
        <comment>9653</comment>
        <extracomment>edit SMS message 1007</extracomment>
        <translation>&amp;Předvolba...</translation>
    </message>
    <message>
        <source>&amp;Details...</source>
        <comment>9654</comment>
        <extracomment>edit SMS message 1001</extracomment>
        <translation>Po&amp;drobnosti...</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <comment>9655</comment>
        <extracomment>edit SMS message, message details 1</extracomment>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <comment>9656</comment>
        <extracomment>edit SMS message, message details 2</extracomment>
        <translation>&amp;Zrušit</translation>
    </message>
    <message>
        <source>&amp;Validity / Date</source>
        <comment>9657</comment>
        <extracomment>message details 1014</extracomment>
        <translation>&amp;Platnost / datum</translation>
    </message>
    <message>
        <source>1 &amp;hour</source>
        <comment>9658</comment>
        <extracomment>message details 1006</extracomment>
        <translation>1 &amp;hodina</translation>
    </message>
    <message>
        <source>1 &amp;day</source>
        <comment>9659</comment>
        <extracomment>message details 1007</extracomment>
        <translation>1 &amp;den</translation>
    </message>
    <message>
        <source>&amp;SMS center</source>
        <comment>9660</comment>
        <extracomment>message details 1013</extracomment>
        <translation>&amp;Centrum SMS</translation>
    </message>
    <message>
        <source>&amp;From item:</source>
        <comment>9661</comment>
        <extracomment>select items 1013</extracomment>
        <translation>&amp;Od položky:</translation>
    </message>
    <message>
        <source>&amp;To item:</source>
        <comment>9662</comment>
        <extracomment>select items 1014</extracomment>
        <translation>&amp;Do položky:</translation>
    </message>
    <message>
        <source>Kestrel! - Preferred Networks</source>
        <comment>9670</comment>
        <extracomment>dialog caption 176</extracomment>
        <translation>Kestrel! - Preferované sítě</translation>
    </message>
    <message>
        <source>Kestrel! - Forbidden Networks</source>
        <comment>9671</comment>
        <extracomment>dialog caption 178</extracomment>
        <translation>Kestrel! - Zakázané sítě</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <comment>9672</comment>
        <extracomment>network list 1090</extracomment>
        <translation>&amp;Upravit</translation>
    </message>
    <message>
        <source>Delete A&amp;ll</source>
        <comment>9673</comment>
        <extracomment>network list 1091</extracomment>
        <translation>Odstranit &amp;vše</translation>
    </message>
    <message>
        <source>&amp;Copy All Content</source>
        <comment>9674</comment>
        <extracomment>network list 2058, its context menu</extracomment>
        <translation>&amp;Kopírovat celý obsah</translation>
    </message>
    <message>
        <source>Select network: </source>
        <comment>9675</comment>
        <extracomment>select network 1089</extracomment>
        <translation>Vyberte síť: </translation>
    </message>
    <message>
        <source>MCC : </source>
        <comment>9676</comment>
        <extracomment>select network 1090</extracomment>
        <translation>MCC : </translation>
    </message>
    <message>
        <source>MNC : </source>
        <comment>9677</comment>
        <extracomment>select network 1091</extracomment>
        <translation>MNC : </translation>
    </message>
    <message>
        <source>Kestrel! - Edit SMS Parameters</source>
        <comment>9685</comment>
        <extracomment>dialog caption 148</extracomment>
        <translation>Kestrel! - Upravit parametry SMS</translation>
    </message>
    <message>
        <source>&amp;SMS center:</source>
        <comment>9686</comment>
        <extracomment>SMS parameters 1013</extracomment>
        <translation>&amp;Centrum SMS:</translation>
    </message>
    <message>
        <source>&amp;From Phone Book...</source>
        <comment>9687</comment>
        <extracomment>SMS parameters 1052</extracomment>
        <translation>Z tele&amp;fonního seznamu...</translation>
    </message>
    <message>
        <source>Validity</source>
        <comment>9688</comment>
        <extracomment>SMS parameters group</extracomment>
        <translation>Platnost</translation>
    </message>
    <message>
        <source>What to restore</source>
        <comment>9689</comment>
        <extracomment>restore card group</extracomment>
        <translation>Co obnovit</translation>
    </message>
    <message>
        <source>SMS parameters</source>
        <comment>9690</comment>
        <extracomment>restore card 1022</extracomment>
        <translation>Parametry SMS</translation>
    </message>
    <message>
        <source>Networks</source>
        <comment>9691</comment>
        <extracomment>restore card 1023</extracomment>
        <translation>Sítě</translation>
    </message>
    <message>
        <source>PIN1 needed: give --pin</source>
        <comment>9700</comment>
        <translation>Je potřeba PIN1: zadejte --pin</translation>
    </message>
    <message>
        <source>PIN2 needed: give --pin2</source>
        <comment>9701</comment>
        <translation>Je potřeba PIN2: zadejte --pin2</translation>
    </message>
    <message>
        <source>PUK1 needed: give --puk</source>
        <comment>9702</comment>
        <translation>Je potřeba PUK1: zadejte --puk</translation>
    </message>
    <message>
        <source>PUK2 needed: give --puk2</source>
        <comment>9703</comment>
        <translation>Je potřeba PUK2: zadejte --puk2</translation>
    </message>
    <message>
        <source>New PIN1 needed: give --new-pin</source>
        <comment>9704</comment>
        <translation>Je potřeba nový PIN1: zadejte --new-pin</translation>
    </message>
    <message>
        <source>New PIN2 needed: give --new-pin2</source>
        <comment>9705</comment>
        <translation>Je potřeba nový PIN2: zadejte --new-pin2</translation>
    </message>
    <message>
        <source>warning: a code given on the command line can be seen by other users of this machine; give it as - on standard input or in KESTREL_PIN, KESTREL_PIN2, KESTREL_PUK or KESTREL_PUK2</source>
        <comment>9706</comment>
        <translation>upozornění: kód zadaný na příkazovém řádku mohou vidět ostatní uživatelé tohoto počítače; zadejte jej jako - na standardním vstupu nebo v proměnné KESTREL_PIN, KESTREL_PIN2, KESTREL_PUK nebo KESTREL_PUK2</translation>
    </message>
    <message>
        <source>The SMS messages on the SIM card will be replaced by the messages of the file.&#xd;
Continue?</source>
        <comment>9707</comment>
        <translation>Zprávy SMS na kartě SIM budou nahrazeny zprávami ze souboru.&#xd;
Pokračovat?</translation>
    </message>
    <message>
        <source>Kestrel! - Information About SIM Card</source>
        <comment>9720</comment>
        <extracomment>information dialog caption</extracomment>
        <translation>Kestrel! - Informace o kartě SIM</translation>
    </message>
    <message>
        <source>&amp;Update</source>
        <comment>9721</comment>
        <extracomment>information dialog button</extracomment>
        <translation>&amp;Aktualizovat</translation>
    </message>
    <message>
        <source>SIM serial number:</source>
        <comment>9722</comment>
        <extracomment>information page Global</extracomment>
        <translation>Sériové číslo karty SIM:</translation>
    </message>
    <message>
        <source>SIM phase: </source>
        <comment>9723</comment>
        <extracomment>information page Global</extracomment>
        <translation>Fáze SIM: </translation>
    </message>
    <message>
        <source>PIN</source>
        <comment>9724</comment>
        <extracomment>information page Global group</extracomment>
        <translation>PIN</translation>
    </message>
    <message>
        <source>Call costs</source>
        <comment>9725</comment>
        <extracomment>information page Global group</extracomment>
        <translation>Cena hovorů</translation>
    </message>
    <message>
        <source>Phone book parameters</source>
        <comment>9726</comment>
        <extracomment>information page Phone Book and SMS group</extracomment>
        <translation>Parametry telefonního seznamu</translation>
    </message>
    <message>
        <source>FDN parameters</source>
        <comment>9727</comment>
        <extracomment>information page Phone Book and SMS group</extracomment>
        <translation>Parametry FDN</translation>
    </message>
    <message>
        <source>SMS parameters</source>
        <comment>9728</comment>
        <extracomment>information page Phone Book and SMS group</extracomment>
        <translation>Parametry SMS</translation>
    </message>
    <message>
        <source>Items possible:</source>
        <comment>9729</comment>
        <extracomment>information page Phone Book and SMS</extracomment>
        <translation>Možný počet položek:</translation>
    </message>
    <message>
        <source>Name length:</source>
        <comment>9730</comment>
        <extracomment>information page Phone Book and SMS</extracomment>
        <translation>Délka jména:</translation>
    </message>
    <message>
        <source>Menu: </source>
        <comment>9731</comment>
        <extracomment>SIM Application page 1117</extracomment>
        <translation>Nabídka: </translation>
    </message>
    <message>
        <source>Card type:</source>
        <comment>9732</comment>
        <extracomment>SIM Application page 1118</extracomment>
        <translation>Typ karty:</translation>
    </message>
    <message>
        <source>&amp;Details</source>
        <comment>9733</comment>
        <extracomment>SIM Application page toggle</extracomment>
        <translation>&amp;Podrobnosti</translation>
    </message>
    <message>
        <source>Items displayed:</source>
        <comment>9734</comment>
        <extracomment>select item dialog 136 label 1029</extracomment>
        <translation>Zobrazené položky:</translation>
    </message>
    <message>
        <source>&amp;Select</source>
        <comment>9735</comment>
        <extracomment>select item dialog 136 button 1</extracomment>
        <translation>&amp;Vybrat</translation>
    </message>
    <message>
        <source>Display: </source>
        <comment>9736</comment>
        <extracomment>input text dialog 238 label 1018</extracomment>
        <translation>Zobrazení: </translation>
    </message>
    <message>
        <source>PIN1</source>
        <comment>9737</comment>
        <extracomment>information page Global row</extracomment>
        <translation>PIN1</translation>
    </message>
    <message>
        <source>PIN2</source>
        <comment>9738</comment>
        <extracomment>information page Global row</extracomment>
        <translation>PIN2</translation>
    </message>
    <message>
        <source>PUK1</source>
        <comment>9739</comment>
        <extracomment>information page Global row</extracomment>
        <translation>PUK1</translation>
    </message>
    <message>
        <source>PUK2</source>
        <comment>9740</comment>
        <extracomment>information page Global row</extracomment>
        <translation>PUK2</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <comment>9750</comment>
        <extracomment>check report dialog 179 button 2</extracomment>
        <translation>&amp;Zavřít</translation>
    </message>
    <message>
        <source>&amp;Repair Errors</source>
        <comment>9751</comment>
        <extracomment>check report dialog 179 button 1</extracomment>
        <translation>&amp;Opravit chyby</translation>
    </message>
    <message>
        <source>Kestrel! - Print Header Definition</source>
        <comment>9765</comment>
        <extracomment>dialog caption (report header)</extracomment>
        <translation>Kestrel! - Definice záhlaví tisku</translation>
    </message>
    <message>
        <source>Name:</source>
        <comment>9766</comment>
        <extracomment>report header label</extracomment>
        <translation>Název:</translation>
    </message>
    <message>
        <source>Fax: </source>
        <comment>9767</comment>
        <extracomment>report header label</extracomment>
        <translation>Fax: </translation>
    </message>
    <message>
        <source>E-Mail: </source>
        <comment>9768</comment>
        <extracomment>report header label</extracomment>
        <translation>E-mail: </translation>
    </message>
    <message>
        <source>Shop</source>
        <comment>9769</comment>
        <extracomment>report header group</extracomment>
        <translation>Prodejna</translation>
    </message>
    <message>
        <source>Kestrel! - Select Font for Printing</source>
        <comment>9770</comment>
        <extracomment>dialog caption (print font)</extracomment>
        <translation>Kestrel! - Výběr písma pro tisk</translation>
    </message>
    <message>
        <source>Heading: </source>
        <comment>9771</comment>
        <extracomment>print font label</extracomment>
        <translation>Nadpis: </translation>
    </message>
    <message>
        <source>Normal text:</source>
        <comment>9772</comment>
        <extracomment>print font label</extracomment>
        <translation>Běžný text:</translation>
    </message>
    <message>
        <source>Text message: </source>
        <comment>9773</comment>
        <extracomment>print font label</extracomment>
        <translation>Textová zpráva: </translation>
    </message>
    <message>
        <source>The PDF file %1 could not be written.</source>
        <comment>9774</comment>
        <translation>Soubor PDF %1 nelze zapsat.</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <comment>9800</comment>
        <extracomment>Edit menu and editor context menu</extracomment>
        <translation>&amp;Zpět</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <comment>9801</comment>
        <extracomment>Edit menu and editor context menu</extracomment>
        <translation>Zn&amp;ovu</translation>
    </message>
    <message>
        <source>Reader: %1</source>
        <comment>9820</comment>
        <extracomment>main window state panel</extracomment>
        <translation>Čtečka: %1</translation>
    </message>
    <message>
        <source>Reader: none - choose one in Other &gt; Setup</source>
        <comment>9821</comment>
        <extracomment>main window state panel</extracomment>
        <translation>Čtečka: žádná - vyberte ji v nabídce Ostatní &gt; Nastavení</translation>
    </message>
    <message>
        <source>Card: not read yet</source>
        <comment>9822</comment>
        <extracomment>main window state panel</extracomment>
        <translation>Karta: dosud nenačtena</translation>
    </message>
    <message>
        <source>Card: in the reader</source>
        <comment>9823</comment>
        <extracomment>main window state panel</extracomment>
        <translation>Karta: ve čtečce</translation>
    </message>
    <message>
        <source>Card: no card in the reader</source>
        <comment>9824</comment>
        <extracomment>main window state panel</extracomment>
        <translation>Karta: ve čtečce není žádná karta</translation>
    </message>
    <message>
        <source>ICCID: %1</source>
        <comment>9825</comment>
        <extracomment>main window state panel</extracomment>
        <translation>ICCID: %1</translation>
    </message>
    <message>
        <source>SIM phase: %1</source>
        <comment>9826</comment>
        <extracomment>main window state panel</extracomment>
        <translation>Fáze SIM: %1</translation>
    </message>
    <message>
        <source>PIN1: on, %1 tries left</source>
        <comment>9827</comment>
        <extracomment>main window state panel</extracomment>
        <translation>PIN1: zapnut, zbývá pokusů: %1</translation>
    </message>
    <message>
        <source>PIN1: on, one try left</source>
        <comment>9828</comment>
        <extracomment>main window state panel</extracomment>
        <translation>PIN1: zapnut, zbývá jeden pokus</translation>
    </message>
    <message>
        <source>PIN1: on, entered</source>
        <comment>9829</comment>
        <extracomment>main window state panel</extracomment>
        <translation>PIN1: zapnut, zadán</translation>
    </message>
    <message>
        <source>PIN1: off</source>
        <comment>9830</comment>
        <extracomment>main window state panel</extracomment>
        <translation>PIN1: vypnut</translation>
    </message>
    <message>
        <source>PIN1: blocked - Unblock Card in the PIN menu asks for the PUK</source>
        <comment>9831</comment>
        <extracomment>main window state panel</extracomment>
        <translation>PIN1: zablokován - příkaz Odblokovat kartu v nabídce PIN si vyžádá PUK</translation>
    </message>
    <message>
        <source>PIN1: on</source>
        <comment>9832</comment>
        <extracomment>main window state panel</extracomment>
        <translation>PIN1: zapnut</translation>
    </message>
    <message>
        <source>Last operation: %1</source>
        <comment>9833</comment>
        <extracomment>main window state panel</extracomment>
        <translation>Poslední operace: %1</translation>
    </message>
    <message>
        <source>Last operation: none yet</source>
        <comment>9834</comment>
        <extracomment>main window state panel</extracomment>
        <translation>Poslední operace: zatím žádná</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <comment>9835</comment>
        <extracomment>an operation and its result (state panel, status bar)</extracomment>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>%1 ...</source>
        <comment>9836</comment>
        <extracomment>status bar while an operation runs</extracomment>
        <translation>%1 ...</translation>
    </message>
    <message>
        <source>Ready</source>
        <comment>9837</comment>
        <extracomment>status bar before the first operation</extracomment>
        <translation>Připraveno</translation>
    </message>
    <message>
        <source>Start with:</source>
        <comment>9838</comment>
        <extracomment>main window state panel, above the first commands</extracomment>
        <translation>Pro začátek:</translation>
    </message>
    <message>
        <source>The reader %1 stays in use.</source>
        <comment>9839</comment>
        <extracomment>Setup, after a search that found no reader</extracomment>
        <translation>Nadále se používá čtečka %1.</translation>
    </message>
    <message>
        <source>%1 tries left.</source>
        <comment>9840</comment>
        <extracomment>after a refused PIN or PUK: the card&apos;s counter</extracomment>
        <translation>Zbývá pokusů: %1.</translation>
    </message>
    <message>
        <source>One try left.</source>
        <comment>9841</comment>
        <extracomment>after a refused PIN or PUK</extracomment>
        <translation>Zbývá jeden pokus.</translation>
    </message>
    <message>
        <source>No tries left: the code is blocked.</source>
        <comment>9842</comment>
        <extracomment>after a refused PIN or PUK</extracomment>
        <translation>Nezbývá žádný pokus: kód je zablokován.</translation>
    </message>
    <message>
        <source>Only one try is left: a wrong PIN now blocks it, and the PUK is needed to unblock it.
Send the PIN?</source>
        <comment>9843</comment>
        <extracomment>before the last PIN try</extracomment>
        <translation>Zbývá jen jeden pokus: chybný PIN jej nyní zablokuje a k odblokování bude potřeba PUK.
Odeslat PIN?</translation>
    </message>
    <message>
        <source>Only one try is left: a wrong PUK now blocks the card for good.
Send the PUK?</source>
        <comment>9844</comment>
        <extracomment>before the last PUK try</extracomment>
        <translation>Zbývá jen jeden pokus: chybný PUK nyní kartu natrvalo zablokuje.
Odeslat PUK?</translation>
    </message>
    <message>
        <source>stored as: %1</source>
        <comment>9845</comment>
        <extracomment>edit entry dialog: the name as the card&apos;s alphabet holds it</extracomment>
        <translation>uloženo jako: %1</translation>
    </message>
    <message>
        <source>The smart-card reader the program uses. A serial port shows the device it opens; the setting commData/COMn names another.</source>
        <comment>9846</comment>
        <extracomment>Setup tooltip</extracomment>
        <translation>Čtečka čipových karet, kterou program používá. U sériového portu je uvedeno zařízení, které program otevírá; jiné zařízení určuje nastavení commData/COMn.</translation>
    </message>
    <message>
        <source>Try every kind of reader in turn and take the first one that answers</source>
        <comment>9847</comment>
        <extracomment>Setup tooltip</extracomment>
        <translation>Postupně vyzkoušet všechny druhy čteček a použít první, která odpoví</translation>
    </message>
    <message>
        <source>Read the card at once when a phone book or SMS window is opened</source>
        <comment>9848</comment>
        <extracomment>Setup tooltip</extracomment>
        <translation>Načíst kartu ihned po otevření okna telefonního seznamu nebo zpráv SMS</translation>
    </message>
    <message>
        <source>Ask before entries are deleted, overwritten or written to the card</source>
        <comment>9849</comment>
        <extracomment>Setup tooltip</extracomment>
        <translation>Zeptat se před odstraněním, přepsáním nebo zápisem položek na kartu</translation>
    </message>
    <message>
        <source>Your own country&apos;s dialling code, without &quot;+&quot; (for example 49): numbers are internationalized with it</source>
        <comment>9850</comment>
        <extracomment>Setup tooltip</extracomment>
        <translation>Předvolba vaší země bez &quot;+&quot; (například 49): podle ní se čísla převádějí do mezinárodního formátu</translation>
    </message>
    <message>
        <source>The digits dialled before a country code to call abroad (for example 00); digits only</source>
        <comment>9851</comment>
        <extracomment>Setup tooltip</extracomment>
        <translation>Číslice vytáčené před předvolbou země při volání do zahraničí (například 00); pouze číslice</translation>
    </message>
    <message>
        <source>Start the main window collapsed to its menu and button bar</source>
        <comment>9852</comment>
        <extracomment>Setup tooltip</extracomment>
        <translation>Spouštět hlavní okno sbalené na nabídku a panel tlačítek</translation>
    </message>
    <message>
        <source>Keep the card&apos;s files between operations while the same card stays in the reader, so that reading again is faster</source>
        <comment>9853</comment>
        <extracomment>Setup tooltip</extracomment>
        <translation>Uchovávat soubory karty mezi operacemi, dokud je ve čtečce stejná karta, aby bylo opětovné načtení rychlejší</translation>
    </message>
    <message>
        <source>Show the report header for adjusting before every printout</source>
        <comment>9854</comment>
        <extracomment>Setup tooltip</extracomment>
        <translation>Před každým tiskem zobrazit záhlaví sestavy k úpravě</translation>
    </message>
    <message>
        <source>Choose your country code from the list of countries</source>
        <comment>9855</comment>
        <extracomment>Setup tooltip</extracomment>
        <translation>Vyberte předvolbu své země ze seznamu zemí</translation>
    </message>
    <message>
        <source>Keep accents and other letters on the card (Unicode names)</source>
        <comment>9856</comment>
        <extracomment>Setup check box</extracomment>
        <translation>Zachovat na kartě diakritiku a další znaky (jména v Unicode)</translation>
    </message>
    <message>
        <source>Names with letters the card&apos;s alphabet lacks (č, ř, Greek, Cyrillic, ...) are written in UCS2 as they are typed; such a name takes more room, so fewer characters fit. Off: those letters are written as their plain letters.</source>
        <comment>9857</comment>
        <extracomment>Setup tooltip</extracomment>
        <translation>Jména se znaky, které abeceda karty nemá (č, ř, řecké písmo, cyrilice, ...), se zapisují v UCS2 tak, jak byla napsána; takové jméno zabírá více místa, a vejde se proto méně znaků. Vypnuto: tyto znaky se zapisují jako odpovídající písmena bez diakritiky.</translation>
    </message>
    <message>
        <source>%1 of %2 characters fit on the card</source>
        <comment>9858</comment>
        <extracomment>edit entry dialog with Unicode names: the name is cut</extracomment>
        <translation>Na kartu se vejde %1 z %2 znaků</translation>
    </message>
    <message>
        <source>%1 names hold characters the .DIA file cannot (they are saved with &quot;?&quot; in their place): %2</source>
        <comment>9859</comment>
        <extracomment>.DIA file written</extracomment>
        <translation>Jména (%1) obsahují znaky, které soubor .DIA neumí uložit (místo nich je uložen znak &quot;?&quot;): %2</translation>
    </message>
    <message>
        <source>This message is not a plain text message: it is in UCS2 or 8-bit data, a part of a long message, a status report or a message of its own class.&#xd;
After the change it will be stored as a plain text message and whatever else it holds is lost.&#xd;
Continue?</source>
        <comment>9880</comment>
        <extracomment>before an edit makes a message plain</extracomment>
        <translation>Tato zpráva není prostá textová zpráva: je v kódování UCS2 nebo obsahuje 8bitová data, je částí dlouhé zprávy, je stavovou zprávou nebo má vlastní třídu.&#xd;
Po změně bude uložena jako prostá textová zpráva a vše ostatní, co obsahuje, bude ztraceno.&#xd;
Pokračovat?</translation>
    </message>
    <message>
        <source>Status report</source>
        <comment>9881</comment>
        <extracomment>SMS kind marker</extracomment>
        <translation>Stavová zpráva</translation>
    </message>
    <message>
        <source>part %1 of %2</source>
        <comment>9882</comment>
        <extracomment>SMS concatenated part</extracomment>
        <translation>část %1 z %2</translation>
    </message>
    <message>
        <source>UCS2</source>
        <comment>9883</comment>
        <extracomment>SMS encoding</extracomment>
        <translation>UCS2</translation>
    </message>
    <message>
        <source>8-bit data</source>
        <comment>9884</comment>
        <extracomment>SMS encoding</extracomment>
        <translation>8bitová data</translation>
    </message>
    <message>
        <source>not decodable</source>
        <comment>9885</comment>
        <extracomment>SMS encoding</extracomment>
        <translation>nelze dekódovat</translation>
    </message>
    <message>
        <source>class %1</source>
        <comment>9886</comment>
        <extracomment>SMS message class</extracomment>
        <translation>třída %1</translation>
    </message>
    <message>
        <source>[part %1 missing]</source>
        <comment>9887</comment>
        <extracomment>joined SMS text</extracomment>
        <translation>[chybí část %1]</translation>
    </message>
    <message>
        <source>Delivered</source>
        <comment>9888</comment>
        <extracomment>SMS status report TP-ST</extracomment>
        <translation>Doručeno</translation>
    </message>
    <message>
        <source>Forwarded, delivery not confirmed</source>
        <comment>9889</comment>
        <extracomment>SMS status report TP-ST</extracomment>
        <translation>Předáno, doručení nepotvrzeno</translation>
    </message>
    <message>
        <source>Replaced by the service centre</source>
        <comment>9890</comment>
        <extracomment>SMS status report TP-ST</extracomment>
        <translation>Nahrazeno centrem SMS</translation>
    </message>
    <message>
        <source>Not yet delivered, the service centre is still trying</source>
        <comment>9891</comment>
        <extracomment>SMS status report TP-ST</extracomment>
        <translation>Dosud nedoručeno, centrum SMS se stále pokouší o doručení</translation>
    </message>
    <message>
        <source>Not delivered (permanent error)</source>
        <comment>9892</comment>
        <extracomment>SMS status report TP-ST</extracomment>
        <translation>Nedoručeno (trvalá chyba)</translation>
    </message>
    <message>
        <source>Not delivered (temporary error, no more attempts)</source>
        <comment>9893</comment>
        <extracomment>SMS status report TP-ST</extracomment>
        <translation>Nedoručeno (dočasná chyba, žádné další pokusy)</translation>
    </message>
    <message>
        <source>Unknown delivery status</source>
        <comment>9894</comment>
        <extracomment>SMS status report TP-ST</extracomment>
        <translation>Neznámý stav doručení</translation>
    </message>
    <message>
        <source>Recipient:</source>
        <comment>9895</comment>
        <extracomment>SMS status report detail</extracomment>
        <translation>Příjemce:</translation>
    </message>
    <message>
        <source>Service centre time:</source>
        <comment>9896</comment>
        <extracomment>SMS status report detail</extracomment>
        <translation>Čas centra SMS:</translation>
    </message>
    <message>
        <source>Discharge time:</source>
        <comment>9897</comment>
        <extracomment>SMS status report detail</extracomment>
        <translation>Čas vyřízení:</translation>
    </message>
    <message>
        <source>Delivery status:</source>
        <comment>9898</comment>
        <extracomment>SMS status report detail</extracomment>
        <translation>Stav doručení:</translation>
    </message>
    <message>
        <source>Not every message went into the file as it is: characters the file&apos;s Windows-1250 code page lacks were written as &quot;?&quot;, texts longer than 199 characters were cut.</source>
        <comment>9899</comment>
        <extracomment>.SMS/.SMA file written</extracomment>
        <translation>Ne každá zpráva se do souboru dostala beze změny: znaky, které kódová stránka souboru Windows-1250 nemá, byly zapsány jako &quot;?&quot; a texty delší než 199 znaků byly zkráceny.</translation>
    </message>
    <message>
        <source>user data header</source>
        <comment>9900</comment>
        <extracomment>SMS: what a non-plain message holds</extracomment>
        <translation>záhlaví uživatelských dat</translation>
    </message>
    <message>
        <source>%1 names or message texts hold characters the backup file cannot (they are saved with &quot;?&quot; in their place). A restore of this file leaves those records on the card as they are.</source>
        <comment>9910</comment>
        <extracomment>backup written</extracomment>
        <translation>Jména nebo texty zpráv (%1) obsahují znaky, které soubor zálohy neumí uložit (místo nich je uložen znak &quot;?&quot;). Obnovení z tohoto souboru ponechá tyto záznamy na kartě beze změny.</translation>
    </message>
    <message>
        <source>%1 cannot be opened: Kestrel! opens phone books (.dia, .vcf, .csv), messages (.sms, .sma), backups (.sim) and card images (.json).</source>
        <comment>9911</comment>
        <extracomment>kestrel FILE of another kind</extracomment>
        <translation>%1 nelze otevřít: Kestrel! otevírá telefonní seznamy (.dia, .vcf, .csv), zprávy (.sms, .sma), zálohy (.sim) a obrazy karet (.json).</translation>
    </message>
    <message>
        <source>A file to open: a phone book (.dia, .vcf, .csv), messages (.sms, .sma), a backup (.sim) or a card image (.json, opened as the virtual card).</source>
        <comment>9912</comment>
        <extracomment>kestrel --help</extracomment>
        <translation>Soubor k otevření: telefonní seznam (.dia, .vcf, .csv), zprávy (.sms, .sma), záloha (.sim) nebo obraz karty (.json, otevře se jako virtuální karta).</translation>
    </message>
    <message>
        <source>&amp;Language:</source>
        <comment>9913</comment>
        <extracomment>Setup: the language choice</extracomment>
        <translation>&amp;Jazyk:</translation>
    </message>
    <message>
        <source>Automatic (system)</source>
        <comment>9914</comment>
        <extracomment>Setup: language by the system locale</extracomment>
        <translation>Automaticky (podle systému)</translation>
    </message>
    <message>
        <source>English</source>
        <comment>9915</comment>
        <extracomment>Setup: language</extracomment>
        <translation>English</translation>
    </message>
    <message>
        <source>Čeština</source>
        <comment>9916</comment>
        <extracomment>Setup: language (its own name)</extracomment>
        <translation>Čeština</translation>
    </message>
    <message>
        <source>The language takes effect at the next start of the program.</source>
        <comment>9917</comment>
        <extracomment>Setup: language note</extracomment>
        <translation>Jazyk se projeví při příštím spuštění programu.</translation>
    </message>
    <message>
        <source>The contact file cannot be read (line %1): %2 Nothing was loaded.</source>
        <comment>9920</comment>
        <extracomment>vCard/CSV file refused</extracomment>
        <translation>Soubor kontaktů nelze přečíst (řádek %1): %2 Nic nebylo načteno.</translation>
    </message>
    <message>
        <source>The contact file cannot be read: %1 Nothing was loaded.</source>
        <comment>9921</comment>
        <extracomment>vCard/CSV file refused</extracomment>
        <translation>Soubor kontaktů nelze přečíst: %1 Nic nebylo načteno.</translation>
    </message>
    <message>
        <source>The file is larger than 16 MB.</source>
        <comment>9922</comment>
        <extracomment>contact file refused: why</extracomment>
        <translation>Soubor je větší než 16 MB.</translation>
    </message>
    <message>
        <source>The line is longer than 1 MB.</source>
        <comment>9923</comment>
        <extracomment>contact file refused: why</extracomment>
        <translation>Řádek je delší než 1 MB.</translation>
    </message>
    <message>
        <source>The file holds more than 10000 contacts.</source>
        <comment>9924</comment>
        <extracomment>contact file refused: why</extracomment>
        <translation>Soubor obsahuje více než 10000 kontaktů.</translation>
    </message>
    <message>
        <source>BEGIN:VCARD has no END:VCARD.</source>
        <comment>9925</comment>
        <extracomment>contact file refused: why</extracomment>
        <translation>Ke BEGIN:VCARD chybí END:VCARD.</translation>
    </message>
    <message>
        <source>END:VCARD without BEGIN:VCARD.</source>
        <comment>9926</comment>
        <extracomment>contact file refused: why</extracomment>
        <translation>END:VCARD bez BEGIN:VCARD.</translation>
    </message>
    <message>
        <source>Text outside BEGIN:VCARD and END:VCARD.</source>
        <comment>9927</comment>
        <extracomment>contact file refused: why</extracomment>
        <translation>Text mimo BEGIN:VCARD a END:VCARD.</translation>
    </message>
    <message>
        <source>A vCard line without &quot;:&quot;.</source>
        <comment>9928</comment>
        <extracomment>contact file refused: why</extracomment>
        <translation>Řádek vCard bez &quot;:&quot;.</translation>
    </message>
    <message>
        <source>The vCard version is not 2.1, 3.0 or 4.0.</source>
        <comment>9929</comment>
        <extracomment>contact file refused: why</extracomment>
        <translation>Verze vCard není 2.1, 3.0 ani 4.0.</translation>
    </message>
    <message>
        <source>Broken quoted-printable text.</source>
        <comment>9930</comment>
        <extracomment>contact file refused: why</extracomment>
        <translation>Poškozený text v kódování quoted-printable.</translation>
    </message>
    <message>
        <source>Unknown character set.</source>
        <comment>9931</comment>
        <extracomment>contact file refused: why</extracomment>
        <translation>Neznámá znaková sada.</translation>
    </message>
    <message>
        <source>The text is not valid UTF-8.</source>
        <comment>9932</comment>
        <extracomment>contact file refused: why</extracomment>
        <translation>Text není platné UTF-8.</translation>
    </message>
    <message>
        <source>A quoted field has no closing quote.</source>
        <comment>9933</comment>
        <extracomment>contact file refused: why</extracomment>
        <translation>Pole v uvozovkách nemá uzavírací uvozovku.</translation>
    </message>
    <message>
        <source>Text after the closing quote of a field.</source>
        <comment>9934</comment>
        <extracomment>contact file refused: why</extracomment>
        <translation>Text za uzavírací uvozovkou pole.</translation>
    </message>
    <message>
        <source>The header row has no name column (Name, Full Name, Given Name, Family Name ...).</source>
        <comment>9935</comment>
        <extracomment>contact file refused: why</extracomment>
        <translation>Řádek záhlaví nemá sloupec se jménem (Name, Full Name, Given Name, Family Name ...).</translation>
    </message>
    <message>
        <source>The header row has no phone column (Phone, Mobile Phone, Phone 1 - Value ...).</source>
        <comment>9936</comment>
        <extracomment>contact file refused: why</extracomment>
        <translation>Řádek záhlaví nemá sloupec s telefonem (Phone, Mobile Phone, Phone 1 - Value ...).</translation>
    </message>
    <message>
        <source>The file has no header row.</source>
        <comment>9937</comment>
        <extracomment>contact file refused: why</extracomment>
        <translation>Soubor nemá řádek záhlaví.</translation>
    </message>
    <message>
        <source>A row has more fields than the header.</source>
        <comment>9938</comment>
        <extracomment>contact file refused: why</extracomment>
        <translation>Řádek má více polí než záhlaví.</translation>
    </message>
    <message>
        <source>A contact has more than 100 numbers.</source>
        <comment>9939</comment>
        <extracomment>contact file refused: why</extracomment>
        <translation>Kontakt má více než 100 čísel.</translation>
    </message>
    <message>
        <source>The file holds no contacts.</source>
        <comment>9940</comment>
        <extracomment>contact file: nothing to load</extracomment>
        <translation>Soubor neobsahuje žádné kontakty.</translation>
    </message>
    <message>
        <source>Not everything in the file fits the card as it is:</source>
        <comment>9941</comment>
        <extracomment>contact import losses: lead-in</extracomment>
        <translation>Ne vše ze souboru se na kartu vejde beze změny:</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is cut to &quot;%2&quot;</source>
        <comment>9942</comment>
        <extracomment>contact import losses: a cut name</extracomment>
        <translation>&quot;%1&quot; je zkráceno na &quot;%2&quot;</translation>
    </message>
    <message>
        <source>%1 %2 is left out: %3</source>
        <comment>9943</comment>
        <extracomment>contact import losses: name, number, reason</extracomment>
        <translation>%1 %2 je vynecháno: %3</translation>
    </message>
    <message>
        <source>the number holds characters a phone number cannot hold</source>
        <comment>9944</comment>
        <extracomment>contact import: why left out</extracomment>
        <translation>číslo obsahuje znaky, které telefonní číslo obsahovat nemůže</translation>
    </message>
    <message>
        <source>the number has more than 60 digits</source>
        <comment>9945</comment>
        <extracomment>contact import: why left out</extracomment>
        <translation>číslo má více než 60 číslic</translation>
    </message>
    <message>
        <source>no number</source>
        <comment>9946</comment>
        <extracomment>contact import: why left out</extracomment>
        <translation>chybí číslo</translation>
    </message>
    <message>
        <source>no name</source>
        <comment>9947</comment>
        <extracomment>contact import: why left out</extracomment>
        <translation>chybí jméno</translation>
    </message>
    <message>
        <source>no free row left in the window</source>
        <comment>9948</comment>
        <extracomment>contact import: why left out</extracomment>
        <translation>v okně nezbyl žádný volný řádek</translation>
    </message>
    <message>
        <source>... and %1 more</source>
        <comment>9949</comment>
        <extracomment>contact import losses: the rest</extracomment>
        <translation>... a dalších %1</translation>
    </message>
    <message>
        <source>Load the other entries?</source>
        <comment>9950</comment>
        <extracomment>contact import losses: the question</extracomment>
        <translation>Načíst ostatní položky?</translation>
    </message>
    <message>
        <source>None of the contacts can be loaded.</source>
        <comment>9951</comment>
        <extracomment>contact import losses: nothing left</extracomment>
        <translation>Žádný z kontaktů nelze načíst.</translation>
    </message>
    <message>
        <source>vCard Files (.vcf)</source>
        <comment>9952</comment>
        <extracomment>file dialog filter</extracomment>
        <translation>Soubory vCard (.vcf)</translation>
    </message>
    <message>
        <source>CSV Files (.csv)</source>
        <comment>9953</comment>
        <extracomment>file dialog filter</extracomment>
        <translation>Soubory CSV (.csv)</translation>
    </message>
    <message>
        <source>The text is not valid in its character set.</source>
        <comment>9954</comment>
        <extracomment>contact file refused: why</extracomment>
        <translation>Text není ve své znakové sadě platný.</translation>
    </message>
    <message>
        <source>Reading card file %1 (%2)</source>
        <comment>9960</comment>
        <extracomment>card image: progress</extracomment>
        <translation>Čtení souboru karty %1 (%2)</translation>
    </message>
    <message>
        <source>Writing card file %1 (%2)</source>
        <comment>9961</comment>
        <extracomment>card image: progress</extracomment>
        <translation>Zápis souboru karty %1 (%2)</translation>
    </message>
    <message>
        <source>Searching %1 for further files</source>
        <comment>9962</comment>
        <extracomment>card image: progress</extracomment>
        <translation>Hledání dalších souborů v %1</translation>
    </message>
    <message>
        <source>The card image was written without these files:</source>
        <comment>9963</comment>
        <extracomment>card image written in part</extracomment>
        <translation>Obraz karty byl zapsán bez těchto souborů:</translation>
    </message>
    <message>
        <source>The card image was written: %1 files of the card.</source>
        <comment>9964</comment>
        <extracomment>card image written</extracomment>
        <translation>Obraz karty byl zapsán (počet souborů karty: %1).</translation>
    </message>
    <message>
        <source>its READ access condition is %1</source>
        <comment>9965</comment>
        <extracomment>card image: why a file was left out</extracomment>
        <translation>jeho přístupová podmínka READ je %1</translation>
    </message>
    <message>
        <source>invalidated, and not readable while invalidated</source>
        <comment>9966</comment>
        <extracomment>card image: why a file was left out</extracomment>
        <translation>je zneplatněn a ve zneplatněném stavu jej nelze číst</translation>
    </message>
    <message>
        <source>the card refused it (%1)</source>
        <comment>9967</comment>
        <extracomment>card image: why a file was left out</extracomment>
        <translation>karta jej odmítla (%1)</translation>
    </message>
    <message>
        <source>its records or size are beyond what a card file holds</source>
        <comment>9968</comment>
        <extracomment>card image: why a file was left out</extracomment>
        <translation>jeho záznamy nebo velikost přesahují možnosti souboru karty</translation>
    </message>
    <message>
        <source>The file is not a card image the program can read:
%1</source>
        <comment>9969</comment>
        <extracomment>card image refused</extracomment>
        <translation>Soubor není obraz karty, který program umí přečíst:
%1</translation>
    </message>
    <message>
        <source>The card image does not fit this card; nothing was written.
%1</source>
        <comment>9970</comment>
        <extracomment>card image restore refused</extracomment>
        <translation>Obraz karty neodpovídá této kartě; nic nebylo zapsáno.
%1</translation>
    </message>
    <message>
        <source>%1: in the image, not on this card</source>
        <comment>9971</comment>
        <extracomment>card image restore: file missing</extracomment>
        <translation>%1: v obrazu je, na této kartě není</translation>
    </message>
    <message>
        <source>%1: %2 in the image, %3 on this card</source>
        <comment>9972</comment>
        <extracomment>card image restore: structure differs</extracomment>
        <translation>%1: v obrazu %2, na této kartě %3</translation>
    </message>
    <message>
        <source>%1: records of %2 bytes in the image, %3 on this card</source>
        <comment>9973</comment>
        <extracomment>card image restore: record length differs</extracomment>
        <translation>%1: délka záznamu v obrazu %2 bajtů, na této kartě %3</translation>
    </message>
    <message>
        <source>%1: %2 records in the image, %3 on this card</source>
        <comment>9974</comment>
        <extracomment>card image restore: record count differs</extracomment>
        <translation>%1: počet záznamů v obrazu %2, na této kartě %3</translation>
    </message>
    <message>
        <source>%1: %2 bytes in the image, %3 on this card</source>
        <comment>9975</comment>
        <extracomment>card image restore: size differs</extracomment>
        <translation>%1: velikost v obrazu %2 bajtů, na této kartě %3</translation>
    </message>
    <message>
        <source>transparent</source>
        <comment>9976</comment>
        <extracomment>EF structure</extracomment>
        <translation>transparentní</translation>
    </message>
    <message>
        <source>linear fixed</source>
        <comment>9977</comment>
        <extracomment>EF structure</extracomment>
        <translation>lineární pevný</translation>
    </message>
    <message>
        <source>cyclic</source>
        <comment>9978</comment>
        <extracomment>EF structure</extracomment>
        <translation>cyklický</translation>
    </message>
    <message>
        <source>The card image was restored: %1 records written in %2 files. The access conditions of the image&apos;s files are not written (no command can change them).</source>
        <comment>9979</comment>
        <extracomment>card image restored</extracomment>
        <translation>Obraz karty byl obnoven (zapsané záznamy: %1, soubory: %2). Přístupové podmínky souborů obrazu se nezapisují (žádný příkaz je nemůže změnit).</translation>
    </message>
    <message>
        <source>Kestrel card images</source>
        <comment>9980</comment>
        <extracomment>file dialog filter</extracomment>
        <translation>Obrazy karet Kestrel</translation>
    </message>
    <message>
        <source>Save Card Image</source>
        <comment>9981</comment>
        <extracomment>file dialog title</extracomment>
        <translation>Uložit obraz karty</translation>
    </message>
    <message>
        <source>Open Card Image</source>
        <comment>9982</comment>
        <extracomment>file dialog title</extracomment>
        <translation>Otevřít obraz karty</translation>
    </message>
    <message>
        <source>An image of a real card: its PIN and PUK codes are not in this file. The codes here are those of Kestrel&apos;s standard card (PIN1 %1, PIN2 %2, PUK1 %3, PUK2 %4) with full counters, and so is the key Ki.</source>
        <comment>9983</comment>
        <extracomment>card image note</extracomment>
        <translation>Obraz skutečné karty: její kódy PIN a PUK v tomto souboru nejsou. Zde uvedené kódy jsou kódy standardní karty programu Kestrel (PIN1 %1, PIN2 %2, PUK1 %3, PUK2 %4) s plnými čítači pokusů; totéž platí pro klíč Ki.</translation>
    </message>
    <message>
        <source>Services %1 of the card&apos;s service table are switched off in this image: the card did not give their files.</source>
        <comment>9984</comment>
        <extracomment>card image note</extracomment>
        <translation>Služby %1 tabulky služeb karty jsou v tomto obrazu vypnuty: karta neposkytla jejich soubory.</translation>
    </message>
    <message>
        <source>The card image is one of a telephone card; only the image of a SIM card can be restored.</source>
        <comment>9985</comment>
        <extracomment>card image restore refused</extracomment>
        <translation>Obraz karty patří telefonní kartě; obnovit lze pouze obraz karty SIM.</translation>
    </message>
    <message>
        <source>%1: updated only by the card&apos;s issuer (ADM) on this card</source>
        <comment>9986</comment>
        <extracomment>card image restore: file not writable</extracomment>
        <translation>%1: na této kartě jej aktualizuje pouze vydavatel karty (ADM)</translation>
    </message>
    <message>
        <source>%1: never updated (NEV) on this card</source>
        <comment>9987</comment>
        <extracomment>card image restore: file not writable</extracomment>
        <translation>%1: na této kartě se nikdy neaktualizuje (NEV)</translation>
    </message>
    <message>
        <source>%1: invalidated on this card, and not updatable while invalidated</source>
        <comment>9988</comment>
        <extracomment>card image restore: file not writable</extracomment>
        <translation>%1: na této kartě je zneplatněn a v tomto stavu jej nelze aktualizovat</translation>
    </message>
    <message>
        <source>%1 records in %2 files of the card will be replaced: %3. Go on?</source>
        <comment>9989</comment>
        <extracomment>card image restore: the question</extracomment>
        <translation>Počet záznamů, které budou nahrazeny: %1 v %2 souborech karty: %3. Pokračovat?</translation>
    </message>
    <message>
        <source>The card already holds the image: nothing was written.</source>
        <comment>9990</comment>
        <extracomment>card image restored, nothing to write</extracomment>
        <translation>Karta již obsahuje tento obraz: nic nebylo zapsáno.</translation>
    </message>
    <message>
        <source>Written before the failure: %1.</source>
        <comment>9991</comment>
        <extracomment>card image restore failed: files written</extracomment>
        <translation>Zapsáno před chybou: %1.</translation>
    </message>
    <message>
        <source>Nothing was written before the failure.</source>
        <comment>9992</comment>
        <extracomment>card image restore failed: nothing written</extracomment>
        <translation>Před chybou nebylo zapsáno nic.</translation>
    </message>
    <message>
        <source>The failure came while writing %1, after %2 of its %3 records.</source>
        <comment>9993</comment>
        <extracomment>card image restore failed: the file</extracomment>
        <translation>Chyba nastala při zápisu %1, po %2 z jeho %3 záznamů.</translation>
    </message>
    <message>
        <source>Kestrel! - User Guide</source>
        <comment>9994</comment>
        <extracomment>user guide window caption</extracomment>
        <translation>Kestrel! - Uživatelská příručka</translation>
    </message>
    <message>
        <source>&amp;Back</source>
        <comment>9995</comment>
        <extracomment>user guide: the page shown before</extracomment>
        <translation>&amp;Zpět</translation>
    </message>
    <message>
        <source>&amp;Forward</source>
        <comment>9996</comment>
        <extracomment>user guide: the page shown after</extracomment>
        <translation>&amp;Vpřed</translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <comment>9997</comment>
        <extracomment>user guide: the first page</extracomment>
        <translation>&amp;Obsah</translation>
    </message>
    <message>
        <source>Usage: kestrel-cli &lt;command&gt; ... [--device D] [codes] [--yes] [--text]
       kestrel-cli &lt;command&gt; --help | help [&lt;command&gt;] | --version

Commands:
</source>
        <comment>10000</comment>
        <extracomment>kestrel-cli help: the usage line and the heading of the command list</extracomment>
        <translation>Použití: kestrel-cli &lt;příkaz&gt; ... [--device D] [kódy] [--yes] [--text]
         kestrel-cli &lt;příkaz&gt; --help | help [&lt;příkaz&gt;] | --version

Příkazy:
</translation>
    </message>
    <message>
        <source>  decode adn &lt;record-hex&gt; [--ext &lt;extension-file-hex&gt;]
      Decode one dialling-number record (EF_ADN/EF_FDN/EF_MSISDN/EF_LND) as record 1.
      The extension file is the concatenation of its 13-byte records.
</source>
        <comment>10001</comment>
        <extracomment>kestrel-cli help: decode adn</extracomment>
        <translation>  decode adn &lt;record-hex&gt; [--ext &lt;extension-file-hex&gt;]
      Dekóduje jeden záznam volaného čísla (EF_ADN/EF_FDN/EF_MSISDN/EF_LND) jako záznam 1.
      Soubor rozšíření je zřetězení jeho 13bajtových záznamů.
</translation>
    </message>
    <message>
        <source>  decode sms &lt;record-hex&gt;
      Decode one EF_SMS record.
</source>
        <comment>10002</comment>
        <extracomment>kestrel-cli help: decode sms</extracomment>
        <translation>  decode sms &lt;record-hex&gt;
      Dekóduje jeden záznam EF_SMS.
</translation>
    </message>
    <message>
        <source>  decode plmn &lt;file-hex&gt;
      Decode EF_PLMNsel or EF_FPLMN contents, with operator names.
</source>
        <comment>10003</comment>
        <extracomment>kestrel-cli help: decode plmn</extracomment>
        <translation>  decode plmn &lt;file-hex&gt;
      Dekóduje obsah EF_PLMNsel nebo EF_FPLMN, s názvy operátorů.
</translation>
    </message>
    <message>
        <source>  encode adn --record-length R --name NAME --number NUMBER [--npi N]
      Encode a phone book entry; extension records are linked as if the extension
      file&apos;s first free records were 1, 2, 3 ... in the order they are made.
</source>
        <comment>10004</comment>
        <extracomment>kestrel-cli help: encode adn</extracomment>
        <translation>  encode adn --record-length R --name NAME --number NUMBER [--npi N]
      Zakóduje položku telefonního seznamu; záznamy rozšíření se propojí, jako by první
      volné záznamy souboru rozšíření byly 1, 2, 3 ... v pořadí, v jakém vznikají.
</translation>
    </message>
    <message>
        <source>  encode sms --status S --text TEXT [--sc NUMBER] [--number NUMBER] [--when W]
             [--record-length L]
      Encode an SMS record; S is Read, Received, Sent or ToBeSent; L defaults to 176.
</source>
        <comment>10005</comment>
        <extracomment>kestrel-cli help: encode sms</extracomment>
        <translation>  encode sms --status S --text TEXT [--sc NUMBER] [--number NUMBER] [--when W]
             [--record-length L]
      Zakóduje záznam SMS; S je Read, Received, Sent nebo ToBeSent; L je výchozí 176.
</translation>
    </message>
    <message>
        <source>  encode plmn --size BYTES MCC-MNC ...
      Encode a network list file of BYTES bytes.
</source>
        <comment>10006</comment>
        <extracomment>kestrel-cli help: encode plmn</extracomment>
        <translation>  encode plmn --size BYTES MCC-MNC ...
      Zakóduje soubor se seznamem sítí o velikosti BYTES bajtů.
</translation>
    </message>
    <message>
        <source>  readers [--text]
      The device strings the program can use (--text: one per line).
</source>
        <comment>10007</comment>
        <extracomment>kestrel-cli help: readers</extracomment>
        <translation>  readers [--text]
      Řetězce zařízení, která program může použít (--text: jeden na řádek).
</translation>
    </message>
    <message>
        <source>  [--device D] apdu &lt;command-hex&gt; ... [--text]
      Send command APDUs to the card as they are; each answer&apos;s data and status word
      (--text: one line each).
</source>
        <comment>10008</comment>
        <extracomment>kestrel-cli help: apdu</extracomment>
        <translation>  [--device D] apdu &lt;command-hex&gt; ... [--text]
      Pošle kartě příkazy APDU tak, jak jsou; vypíše data a stavové slovo každé odpovědi
      (--text: každou na jeden řádek).
</translation>
    </message>
    <message>
        <source>  [--device D] pin verify|verify2|change|change2|enable|disable|unblock
             [--pin P] [--pin2 P] [--puk P] [--puk2 P] [--new-pin P] [--new-pin2 P] [--yes]
      Verify, change, enable, disable or unblock PIN1/PIN2 of the card. Codes not given
      as options are asked on the terminal without echo; --yes answers the questions.
</source>
        <comment>10009</comment>
        <extracomment>kestrel-cli help: pin verify|verify2|change|change2|enable|disable|unblock</extracomment>
        <translation>  [--device D] pin verify|verify2|change|change2|enable|disable|unblock
             [--pin P] [--pin2 P] [--puk P] [--puk2 P] [--new-pin P] [--new-pin2 P] [--yes]
      Ověří, změní, zapne, vypne nebo odblokuje PIN1/PIN2 karty. Kódy nezadané jako
      volby se vyžádají na terminálu bez zobrazení; --yes odpoví na otázky.
</translation>
    </message>
    <message>
        <source>  [--device D] fdn on|off [--pin P] [--pin2 P] [--yes]
      Switch fixed dialling on or off (needs PIN2).
</source>
        <comment>10010</comment>
        <extracomment>kestrel-cli help: fdn on|off</extracomment>
        <translation>  [--device D] fdn on|off [--pin P] [--pin2 P] [--yes]
      Zapne nebo vypne pevná volaná čísla (vyžaduje PIN2).
</translation>
    </message>
    <message>
        <source>  [--device D] phonebook read [--fdn|--lnd|--msisdn] [--all] [--pin P]
      The phone book (EF_ADN), or the fixed dialling, last dialled or own numbers.
</source>
        <comment>10011</comment>
        <extracomment>kestrel-cli help: phonebook read</extracomment>
        <translation>  [--device D] phonebook read [--fdn|--lnd|--msisdn] [--all] [--pin P]
      Telefonní seznam (EF_ADN), nebo pevná volaná, naposledy volaná či vlastní čísla.
</translation>
    </message>
    <message>
        <source>  [--device D] phonebook export|import [--fdn] FILE.dia|FILE.vcf|FILE.csv [--pin P]
                 [--pin2 P] [--yes] [--unicode-names]
      Save the phone book (or fixed dialling numbers) as a .DIA file, or load one into an
      empty phone book and write it to the card. .DIA files are Windows-1250: names with
      letters it lacks are saved with &quot;?&quot; (and said so). --unicode-names (or the setting
      confirmations/unicodeNames) writes names the card&apos;s alphabet lacks in UCS2 instead of
      their plain letters; records whose entries the file gives unchanged stay as they are.
      A name ending in .vcf or .csv is a contact file: vCard (3.0 written; 2.1, 3.0 and 4.0
      read) or CSV with a header row (&quot;Name&quot;,&quot;Phone&quot; written; the columns of common
      address book exports read). A contact with several numbers gives one entry a number,
      its name ending in /M, /W, /H, /F or /O by type. Names longer than the card holds are
      cut, numbers it cannot hold left out: the list is asked about before anything is
      written (--yes loads the rest; without a terminal the import is refused) and the JSON
      gives it as &quot;cut&quot; and &quot;dropped&quot;.
</source>
        <comment>10012</comment>
        <extracomment>kestrel-cli help: phonebook export|import</extracomment>
        <translation>  [--device D] phonebook export|import [--fdn] FILE.dia|FILE.vcf|FILE.csv [--pin P]
                 [--pin2 P] [--yes] [--unicode-names]
      Uloží telefonní seznam (nebo pevná volaná čísla) jako soubor .DIA, nebo jej načte do
      prázdného telefonního seznamu a zapíše na kartu. Soubory .DIA jsou ve Windows-1250:
      jména s písmeny, která nemá, se uloží s &quot;?&quot; (a program to oznámí). --unicode-names
      (nebo nastavení confirmations/unicodeNames) zapíše jména s písmeny, která abeceda
      karty nemá, v UCS2 místo prostých písmen; záznamy, jejichž položky soubor nemění, zůstanou.
      Název končící .vcf nebo .csv je soubor kontaktů: vCard (zapisuje se 3.0; čte se 2.1,
      3.0 a 4.0) nebo CSV s řádkem záhlaví (zapisuje se &quot;Name&quot;,&quot;Phone&quot;; čtou se sloupce
      běžných exportů adresářů). Kontakt s více čísly dává každému číslu jednu položku,
      jejíž jméno končí /M, /W, /H, /F nebo /O podle typu. Jména delší, než karta pojme,
      se zkrátí, čísla, která nepojme, se vynechají: na seznam se program zeptá dříve, než
      cokoli zapíše (--yes načte zbytek; bez terminálu je import odmítnut) a JSON jej
      uvádí jako &quot;cut&quot; a &quot;dropped&quot;.
</translation>
    </message>
    <message>
        <source>  [--device D] sms read [--all] [--pin P]
      The messages of EF_SMS.
</source>
        <comment>10013</comment>
        <extracomment>kestrel-cli help: sms read</extracomment>
        <translation>  [--device D] sms read [--all] [--pin P]
      Zprávy v EF_SMS.
</translation>
    </message>
    <message>
        <source>  [--device D] sms export FILE.sms [--pin P]
  [--device D] sms archive FILE.sma [--pin P]
  [--device D] sms import FILE.sms|FILE.sma [--pin P] [--yes]
      Save the card&apos;s messages as a message file, append them to an archive file
      (created when missing), or replace the card&apos;s messages with those of a file.
</source>
        <comment>10014</comment>
        <extracomment>kestrel-cli help: sms export|archive|import</extracomment>
        <translation>  [--device D] sms export FILE.sms [--pin P]
  [--device D] sms archive FILE.sma [--pin P]
  [--device D] sms import FILE.sms|FILE.sma [--pin P] [--yes]
      Uloží zprávy z karty do souboru zpráv, připojí je k archivnímu souboru (který
      vytvoří, pokud chybí), nebo nahradí zprávy na kartě zprávami ze souboru.
</translation>
    </message>
    <message>
        <source>  [--device D] smsp read [--pin P]
  [--device D] smsp write --sc NUMBER --validity TEXT [--pin P]
      The default service centre and validity period (e.g. &quot;1 day&quot;, &quot;7 days&quot;).
</source>
        <comment>10015</comment>
        <extracomment>kestrel-cli help: smsp read|write</extracomment>
        <translation>  [--device D] smsp read [--pin P]
  [--device D] smsp write --sc NUMBER --validity TEXT [--pin P]
      Výchozí středisko zpráv a doba platnosti (např. &quot;1 day&quot;, &quot;7 days&quot;).
</translation>
    </message>
    <message>
        <source>  [--device D] networks read [--forbidden] [--all] [--pin P]
      The preferred (EF_PLMNsel) or forbidden (EF_FPLMN) networks, with operator names.
</source>
        <comment>10016</comment>
        <extracomment>kestrel-cli help: networks read</extracomment>
        <translation>  [--device D] networks read [--forbidden] [--all] [--pin P]
      Preferované (EF_PLMNsel) nebo zakázané (EF_FPLMN) sítě, s názvy operátorů.
</translation>
    </message>
    <message>
        <source>  [--device D] networks write [--forbidden] MCC-MNC ... [--pin P]
      Write the list: the networks given in entries 1, 2, ..., every further entry freed.
</source>
        <comment>10017</comment>
        <extracomment>kestrel-cli help: networks write</extracomment>
        <translation>  [--device D] networks write [--forbidden] MCC-MNC ... [--pin P]
      Zapíše seznam: zadané sítě do položek 1, 2, ..., každou další položku uvolní.
</translation>
    </message>
    <message>
        <source>  [--device D] networks delete [--forbidden] N [--pin P]
      Free entry N (from 1) of the list.
</source>
        <comment>10018</comment>
        <extracomment>kestrel-cli help: networks delete</extracomment>
        <translation>  [--device D] networks delete [--forbidden] N [--pin P]
      Uvolní položku N (od 1) seznamu.
</translation>
    </message>
    <message>
        <source>  [--device D] backup FILE.sim [--pin P]
      Back up the phone book, fixed dialling numbers, messages, SMS parameters and
      network lists into a backup file; an existing file is replaced only when the
      backup is complete.
  [--device D] backup --image FILE.json [--pin P]
      Save a card image: every file of the MF, DF_TELECOM and DF_GSM the card lets us
      read, with its header, records or data, as a card file that opens as a virtual
      card (--device VIRTUAL:FILE.json). The card&apos;s PIN and PUK codes are not in it:
      its codes are those of the standard card. Files the card does not let us read
      are listed under &quot;leftOut&quot;.
</source>
        <comment>10019</comment>
        <extracomment>kestrel-cli help: backup</extracomment>
        <translation>  [--device D] backup FILE.sim [--pin P]
      Zálohuje telefonní seznam, pevná volaná čísla, zprávy, parametry SMS a seznamy
      sítí do záložního souboru; existující soubor se nahradí, teprve když je záloha
      úplná.
  [--device D] backup --image FILE.json [--pin P]
      Uloží obraz karty: každý soubor MF, DF_TELECOM a DF_GSM, který karta dovolí přečíst,
      s jeho záhlavím, záznamy nebo daty, jako soubor karty, který se otevře jako virtuální
      karta (--device VIRTUAL:FILE.json). Kódy PIN a PUK karty v něm nejsou: jeho kódy
      jsou kódy standardní karty. Soubory, které karta nedovolí přečíst, jsou uvedeny
      pod &quot;leftOut&quot;.
</translation>
    </message>
    <message>
        <source>  [--device D] restore FILE.sim [--only phonebook,fdn,sms,smsp,networks] [--pin P] [--pin2 P]
      Write a backup file back to the card (all parts unless --only); PIN2 is needed
      for fixed dialling numbers.
  [--device D] restore --image FILE.json [--pin P] [--pin2 P] [--yes]
      Write the user files of a card image back (phone book, FDN, extension files,
      messages, SMS parameters, last dialled and own numbers, network lists), only
      the records that differ. Nothing is written when a file of the card differs in
      structure, record length or room, or is one the card lets only its issuer (ADM)
      or nobody (NEV) update; the message names it. The records to replace are asked
      about first (--yes answers yes; without a terminal the restore is refused).
      PIN2 is needed only when a file to write needs it on the card. A write that
      fails half-way gives &quot;written&quot; and &quot;failedAt&quot; in the JSON.
</source>
        <comment>10020</comment>
        <extracomment>kestrel-cli help: restore</extracomment>
        <translation>  [--device D] restore FILE.sim [--only phonebook,fdn,sms,smsp,networks] [--pin P] [--pin2 P]
      Zapíše záložní soubor zpět na kartu (všechny části, není-li dáno --only); pro pevná
      volaná čísla je potřeba PIN2.
  [--device D] restore --image FILE.json [--pin P] [--pin2 P] [--yes]
      Zapíše zpět uživatelské soubory obrazu karty (telefonní seznam, FDN, soubory rozšíření,
      zprávy, parametry SMS, naposledy volaná a vlastní čísla, seznamy sítí), jen záznamy,
      které se liší. Nic se nezapíše, když se soubor na kartě liší strukturou, délkou
      záznamu nebo místem, nebo když jej karta dovolí aktualizovat jen vydavateli (ADM)
      nebo nikomu (NEV); hlášení jej uvede. Na záznamy k nahrazení se program nejprve
      zeptá (--yes odpoví ano; bez terminálu je obnova odmítnuta).
      PIN2 je potřeba, jen když jej na kartě vyžaduje některý zapisovaný soubor. Zápis,
      který selže v polovině, uvede v JSON &quot;written&quot; a &quot;failedAt&quot;.
</translation>
    </message>
    <message>
        <source>  [--device D] info [--text] [--pin P]
      Identity, PIN counters, call costs, capacities, last dialled and own numbers of
      the card; --text (or --report) prints them as the printed report&apos;s text.
</source>
        <comment>10021</comment>
        <extracomment>kestrel-cli help: info</extracomment>
        <translation>  [--device D] info [--text] [--pin P]
      Identita, čítače PIN, ceny hovorů, kapacity, naposledy volaná a vlastní čísla
      karty; --text (nebo --report) je vypíše jako text tištěného protokolu.
</translation>
    </message>
    <message>
        <source>  [--device D] telcard
      Units remaining, total units, issuing country and data of a telephone card.
</source>
        <comment>10022</comment>
        <extracomment>kestrel-cli help: telcard</extracomment>
        <translation>  [--device D] telcard
      Zbývající jednotky, celkové jednotky, země vydání a data telefonní karty.
</translation>
    </message>
    <message>
        <source>  [--device D] stk menu [--pin P]
      The card&apos;s SIM Application menu.
</source>
        <comment>10023</comment>
        <extracomment>kestrel-cli help: stk menu</extracomment>
        <translation>  [--device D] stk menu [--pin P]
      Nabídka aplikace SIM karty.
</translation>
    </message>
    <message>
        <source>  [--device D] stk select ID [--item N] [--input TEXT] [--pin P]
      Choose menu item ID; the card&apos;s questions are answered from --item and --input
      (or asked on the terminal), and what the card displays is shown.
</source>
        <comment>10024</comment>
        <extracomment>kestrel-cli help: stk select</extracomment>
        <translation>  [--device D] stk select ID [--item N] [--input TEXT] [--pin P]
      Zvolí položku nabídky ID; na otázky karty se odpoví z --item a --input (nebo
      se vyžádají na terminálu) a vypíše se, co karta zobrazí.
</translation>
    </message>
    <message>
        <source>  [--device D] check [--repair] [--detailed] [--text] [--pin P] [--pin2 P]
      Check the dialling-number files, their extension files and the messages for
      broken links, lost extension records and unreadable messages (every record
      with --detailed; --text: the report as text). --repair then repairs what was
      found; PIN2 is needed for findings in the fixed dialling numbers.
</source>
        <comment>10025</comment>
        <extracomment>kestrel-cli help: check</extracomment>
        <translation>  [--device D] check [--repair] [--detailed] [--text] [--pin P] [--pin2 P]
      Zkontroluje soubory volaných čísel, jejich soubory rozšíření a zprávy, zda nemají
      porušené odkazy, ztracené záznamy rozšíření a nečitelné zprávy (s --detailed
      každý záznam; --text: protokol jako text). --repair pak opraví, co bylo
      nalezeno; pro nálezy v pevných volaných číslech je potřeba PIN2.
</translation>
    </message>
    <message>
        <source>  [--device D] print info|check|phonebook|fdn|sms|networks|forbidden --pdf FILE.pdf
             [--detailed] [--pin P] [--pin2 P]
      Read the card and print the information report, the check report (the detailed
      one with --detailed), the phone book, the fixed dialling numbers, the messages or
      the preferred or forbidden networks into a PDF file, with the report header of the
      settings.
</source>
        <comment>10026</comment>
        <extracomment>kestrel-cli help: print info|check|phonebook|fdn|sms|networks|forbidden</extracomment>
        <translation>  [--device D] print info|check|phonebook|fdn|sms|networks|forbidden --pdf FILE.pdf
             [--detailed] [--pin P] [--pin2 P]
      Přečte kartu a vytiskne informační protokol, protokol kontroly (s --detailed
      podrobný), telefonní seznam, pevná volaná čísla, zprávy nebo preferované či
      zakázané sítě do souboru PDF, se záhlavím protokolu podle
      nastavení.
</translation>
    </message>
    <message>
        <source>  dump FILE.sim [--all]
      The contents of a backup file.
</source>
        <comment>10027</comment>
        <extracomment>kestrel-cli help: dump</extracomment>
        <translation>  dump FILE.sim [--all]
      Obsah záložního souboru.
</translation>
    </message>
    <message>
        <source>  Lists hold the entries in use; --all shows every record.

--device, the codes, --yes and --text may stand before or after the command;
--help after a command shows its usage.

Codes: a code option given as - reads its code from standard input, one line per
code in the order of the options (on a terminal it is asked without echo);
KESTREL_PIN, KESTREL_PIN2, KESTREL_PUK and KESTREL_PUK2 are used when their option
is not given. A code written on the command line can be seen by other users.

Output is JSON on standard output (--text: the readable form of check, info, apdu
and readers); errors go to standard error, progress too when it is a terminal.
Exit status: 0 success, 1 operation failed, 2 usage error.
</source>
        <comment>10028</comment>
        <extracomment>kestrel-cli help: the notes after the command list</extracomment>
        <translation>  Seznamy obsahují použité položky; --all zobrazí všechny záznamy.

--device, kódy, --yes a --text mohou stát před příkazem i za ním;
--help za příkazem zobrazí jeho použití.

Kódy: volba kódu zadaná jako - čte svůj kód ze standardního vstupu, jeden řádek na
kód v pořadí voleb (na terminálu se vyžádá bez zobrazení); KESTREL_PIN,
KESTREL_PIN2, KESTREL_PUK a KESTREL_PUK2 se použijí, když jejich volba není
zadána. Kód zapsaný na příkazovém řádku mohou vidět ostatní uživatelé.

Výstup je JSON na standardní výstup (--text: čitelná podoba check, info, apdu
a readers); chyby jdou na standardní chybový výstup, průběh také, je-li to terminál.
Návratový kód: 0 úspěch, 1 operace selhala, 2 chyba použití.
</translation>
    </message>
    <message>
        <source>Usage:
</source>
        <comment>10029</comment>
        <extracomment>kestrel-cli &lt;command&gt; --help: the heading before the command&apos;s usage</extracomment>
        <translation>Použití:
</translation>
    </message>
    <message>
        <source>option --%1 given twice</source>
        <comment>10040</comment>
        <extracomment>kestrel-cli: an option given twice</extracomment>
        <translation>volba --%1 je zadána dvakrát</translation>
    </message>
    <message>
        <source>option --%1 needs a value</source>
        <comment>10041</comment>
        <extracomment>kestrel-cli: an option without its value</extracomment>
        <translation>volba --%1 vyžaduje hodnotu</translation>
    </message>
    <message>
        <source>unknown option %1 before the command</source>
        <comment>10042</comment>
        <extracomment>kestrel-cli: an option it does not know before the command</extracomment>
        <translation>neznámá volba %1 před příkazem</translation>
    </message>
    <message>
        <source>%1 (try kestrel-cli help)</source>
        <comment>10043</comment>
        <extracomment>kestrel-cli: a mistake in the options before the command</extracomment>
        <translation>%1 (zkuste kestrel-cli help)</translation>
    </message>
    <message>
        <source>unknown command &quot;%1&quot; (try kestrel-cli help)</source>
        <comment>10044</comment>
        <extracomment>kestrel-cli: a command it does not have</extracomment>
        <translation>neznámý příkaz &quot;%1&quot; (zkuste kestrel-cli help)</translation>
    </message>
    <message>
        <source>%1: unexpected %2</source>
        <comment>10045</comment>
        <extracomment>kestrel-cli: an option or argument the command does not take</extracomment>
        <translation>%1: neočekávané %2</translation>
    </message>
    <message>
        <source>%1: missing argument (try kestrel-cli help)</source>
        <comment>10046</comment>
        <extracomment>kestrel-cli: the command lacks its argument</extracomment>
        <translation>%1: chybí argument (zkuste kestrel-cli help)</translation>
    </message>
    <message>
        <source>--%1 -: standard input ended before its line</source>
        <comment>10047</comment>
        <extracomment>kestrel-cli: a code option given as - found no line</extracomment>
        <translation>--%1 -: standardní vstup skončil před jeho řádkem</translation>
    </message>
    <message>
        <source>yes</source>
        <comment>10048</comment>
        <extracomment>kestrel-cli: the answer to a question, when --yes answered it</extracomment>
        <translation>ano</translation>
    </message>
    <message>
        <source>no (give --yes to answer yes)</source>
        <comment>10049</comment>
        <extracomment>kestrel-cli: the answer to a question without a terminal</extracomment>
        <translation>ne (pro odpověď ano zadejte --yes)</translation>
    </message>
    <message>
        <source>Old PIN: </source>
        <comment>10050</comment>
        <extracomment>kestrel-cli: terminal prompt</extracomment>
        <translation>Starý PIN: </translation>
    </message>
    <message>
        <source>New PIN: </source>
        <comment>10051</comment>
        <extracomment>kestrel-cli: terminal prompt</extracomment>
        <translation>Nový PIN: </translation>
    </message>
    <message>
        <source>Re-enter new PIN: </source>
        <comment>10052</comment>
        <extracomment>kestrel-cli: terminal prompt</extracomment>
        <translation>Znovu zadejte nový PIN: </translation>
    </message>
    <message>
        <source>Old PIN2: </source>
        <comment>10053</comment>
        <extracomment>kestrel-cli: terminal prompt</extracomment>
        <translation>Starý PIN2: </translation>
    </message>
    <message>
        <source>New PIN2: </source>
        <comment>10054</comment>
        <extracomment>kestrel-cli: terminal prompt</extracomment>
        <translation>Nový PIN2: </translation>
    </message>
    <message>
        <source>Re-enter new PIN2: </source>
        <comment>10055</comment>
        <extracomment>kestrel-cli: terminal prompt</extracomment>
        <translation>Znovu zadejte nový PIN2: </translation>
    </message>
    <message>
        <source>Item (empty to cancel): </source>
        <comment>10056</comment>
        <extracomment>kestrel-cli stk select: terminal prompt for the menu item</extracomment>
        <translation>Položka (prázdné pro zrušení): </translation>
    </message>
    <message>
        <source>%1 needs %2</source>
        <comment>10060</comment>
        <extracomment>kestrel-cli: a command without its verb; %2 lists the verbs</extracomment>
        <translation>%1 vyžaduje %2</translation>
    </message>
    <message>
        <source>or</source>
        <comment>10061</comment>
        <extracomment>kestrel-cli: between the last two verbs of the list in &quot;%1 needs %2&quot;</extracomment>
        <translation>nebo</translation>
    </message>
    <message>
        <source>restore: unknown part &quot;%1&quot; in --only (phonebook, fdn, sms, smsp, networks)</source>
        <comment>10062</comment>
        <extracomment>kestrel-cli restore</extracomment>
        <translation>restore: neznámá část &quot;%1&quot; v --only (phonebook, fdn, sms, smsp, networks)</translation>
    </message>
    <message>
        <source>restore: --only needs at least one of phonebook, fdn, sms, smsp, networks</source>
        <comment>10063</comment>
        <extracomment>kestrel-cli restore</extracomment>
        <translation>restore: --only vyžaduje alespoň jedno z phonebook, fdn, sms, smsp, networks</translation>
    </message>
    <message>
        <source>phonebook read: give at most one of --fdn, --lnd, --msisdn</source>
        <comment>10064</comment>
        <extracomment>kestrel-cli phonebook read</extracomment>
        <translation>phonebook read: zadejte nejvýše jedno z --fdn, --lnd, --msisdn</translation>
    </message>
    <message>
        <source>smsp write needs --sc and --validity</source>
        <comment>10065</comment>
        <extracomment>kestrel-cli smsp write</extracomment>
        <translation>smsp write vyžaduje --sc a --validity</translation>
    </message>
    <message>
        <source>smsp write: &quot;%1&quot; is not a service-centre number (at most %2 digits)</source>
        <comment>10066</comment>
        <extracomment>kestrel-cli smsp write</extracomment>
        <translation>smsp write: &quot;%1&quot; není číslo střediska zpráv (nejvýše %2 číslic)</translation>
    </message>
    <message>
        <source>smsp write: &quot;%1&quot; is not a validity period (e.g. &quot;1 day&quot;, &quot;7 days&quot;)</source>
        <comment>10067</comment>
        <extracomment>kestrel-cli smsp write; the examples are input and stay as they are</extracomment>
        <translation>smsp write: &quot;%1&quot; není doba platnosti (např. &quot;1 day&quot;, &quot;7 days&quot;)</translation>
    </message>
    <message>
        <source>dump: unknown option --%1</source>
        <comment>10068</comment>
        <extracomment>kestrel-cli dump</extracomment>
        <translation>dump: neznámá volba --%1</translation>
    </message>
    <message>
        <source>dump needs one backup file</source>
        <comment>10069</comment>
        <extracomment>kestrel-cli dump</extracomment>
        <translation>dump vyžaduje jeden záložní soubor</translation>
    </message>
    <message>
        <source>check: nothing to repair</source>
        <comment>10070</comment>
        <extracomment>kestrel-cli check --repair</extracomment>
        <translation>check: není co opravit</translation>
    </message>
    <message>
        <source>unknown option --%1</source>
        <comment>10071</comment>
        <extracomment>kestrel-cli decode/encode</extracomment>
        <translation>neznámá volba --%1</translation>
    </message>
    <message>
        <source>expected one hex argument</source>
        <comment>10072</comment>
        <extracomment>kestrel-cli decode</extracomment>
        <translation>očekáván jeden hexadecimální argument</translation>
    </message>
    <message>
        <source>wrong number of arguments</source>
        <comment>10073</comment>
        <extracomment>kestrel-cli decode/encode</extracomment>
        <translation>nesprávný počet argumentů</translation>
    </message>
    <message>
        <source>the record is not hex bytes</source>
        <comment>10074</comment>
        <extracomment>kestrel-cli decode</extracomment>
        <translation>záznam není v hexadecimálních bajtech</translation>
    </message>
    <message>
        <source>a dialling-number record has %1 to %2 bytes, not %3</source>
        <comment>10075</comment>
        <extracomment>kestrel-cli decode adn</extracomment>
        <translation>záznam volaného čísla má %1 až %2 bajtů, ne %3</translation>
    </message>
    <message>
        <source>the extension file is not hex bytes</source>
        <comment>10076</comment>
        <extracomment>kestrel-cli decode adn --ext</extracomment>
        <translation>soubor rozšíření není v hexadecimálních bajtech</translation>
    </message>
    <message>
        <source>the extension file must be whole 13-byte records</source>
        <comment>10077</comment>
        <extracomment>kestrel-cli decode adn --ext</extracomment>
        <translation>soubor rozšíření musí obsahovat celé 13bajtové záznamy</translation>
    </message>
    <message>
        <source>an SMS record has 1 to %1 bytes</source>
        <comment>10078</comment>
        <extracomment>kestrel-cli decode sms</extracomment>
        <translation>záznam SMS má 1 až %1 bajtů</translation>
    </message>
    <message>
        <source>the file is not hex bytes</source>
        <comment>10079</comment>
        <extracomment>kestrel-cli decode plmn</extracomment>
        <translation>soubor není v hexadecimálních bajtech</translation>
    </message>
    <message>
        <source>%1 &quot;%2&quot; is not a valid dialling number</source>
        <comment>10080</comment>
        <extracomment>kestrel-cli encode; %1 is &quot;the number&quot; or &quot;the service centre&quot;</extracomment>
        <translation>%1 &quot;%2&quot; není platné telefonní číslo</translation>
    </message>
    <message>
        <source>%1 has more than %2 digits</source>
        <comment>10081</comment>
        <extracomment>kestrel-cli encode; %1 is &quot;the number&quot; or &quot;the service centre&quot;</extracomment>
        <translation>%1 má více než %2 číslic</translation>
    </message>
    <message>
        <source>the number</source>
        <comment>10082</comment>
        <extracomment>kestrel-cli encode: %1 of &quot;%1 has more than %2 digits&quot;</extracomment>
        <translation>číslo</translation>
    </message>
    <message>
        <source>the service centre</source>
        <comment>10083</comment>
        <extracomment>kestrel-cli encode sms: %1 of &quot;%1 has more than %2 digits&quot;</extracomment>
        <translation>středisko zpráv</translation>
    </message>
    <message>
        <source>encode adn needs --record-length, --name and --number</source>
        <comment>10084</comment>
        <extracomment>kestrel-cli encode adn</extracomment>
        <translation>encode adn vyžaduje --record-length, --name a --number</translation>
    </message>
    <message>
        <source>--record-length must be %1 to %2</source>
        <comment>10085</comment>
        <extracomment>kestrel-cli encode adn</extracomment>
        <translation>--record-length musí být %1 až %2</translation>
    </message>
    <message>
        <source>--npi must be 0 to 15</source>
        <comment>10086</comment>
        <extracomment>kestrel-cli encode adn</extracomment>
        <translation>--npi musí být 0 až 15</translation>
    </message>
    <message>
        <source>warning: the name is cut to the record&apos;s %1 alpha bytes</source>
        <comment>10087</comment>
        <extracomment>kestrel-cli encode adn</extracomment>
        <translation>upozornění: jméno je zkráceno na %1 bajtů pro jméno v záznamu</translation>
    </message>
    <message>
        <source>the record length is not that of a dialling-number file</source>
        <comment>10088</comment>
        <extracomment>kestrel-cli encode adn</extracomment>
        <translation>délka záznamu neodpovídá souboru volaných čísel</translation>
    </message>
    <message>
        <source>encode sms needs --status and --text</source>
        <comment>10089</comment>
        <extracomment>kestrel-cli encode sms</extracomment>
        <translation>encode sms vyžaduje --status a --text</translation>
    </message>
    <message>
        <source>--status must be Read, Received, Sent or ToBeSent</source>
        <comment>10090</comment>
        <extracomment>kestrel-cli encode sms; the four status words are input and stay as they are</extracomment>
        <translation>--status musí být Read, Received, Sent nebo ToBeSent</translation>
    </message>
    <message>
        <source>--record-length must be 1 to %1</source>
        <comment>10091</comment>
        <extracomment>kestrel-cli encode sms</extracomment>
        <translation>--record-length musí být 1 až %1</translation>
    </message>
    <message>
        <source>the message needs %1 bytes and does not fit a record of %2 bytes</source>
        <comment>10092</comment>
        <extracomment>kestrel-cli encode sms</extracomment>
        <translation>zpráva potřebuje %1 bajtů a nevejde se do záznamu o %2 bajtech</translation>
    </message>
    <message>
        <source>encode plmn needs --size</source>
        <comment>10093</comment>
        <extracomment>kestrel-cli encode plmn</extracomment>
        <translation>encode plmn vyžaduje --size</translation>
    </message>
    <message>
        <source>--size must be 0 to 65535 bytes</source>
        <comment>10094</comment>
        <extracomment>kestrel-cli encode plmn</extracomment>
        <translation>--size musí být 0 až 65535 bajtů</translation>
    </message>
    <message>
        <source>%1 networks do not fit a file of %2 bytes</source>
        <comment>10095</comment>
        <extracomment>kestrel-cli encode plmn</extracomment>
        <translation>%1 sítí se nevejde do souboru o %2 bajtech</translation>
    </message>
    <message>
        <source>%1 needs a kind: adn, sms or plmn</source>
        <comment>10096</comment>
        <extracomment>kestrel-cli decode/encode without its kind</extracomment>
        <translation>%1 vyžaduje druh: adn, sms nebo plmn</translation>
    </message>
    <message>
        <source>unknown kind &quot;%1&quot;: adn, sms or plmn</source>
        <comment>10097</comment>
        <extracomment>kestrel-cli decode/encode</extracomment>
        <translation>neznámý druh &quot;%1&quot;: adn, sms nebo plmn</translation>
    </message>
    <message>
        <source>%1 --image needs a file name</source>
        <comment>10098</comment>
        <extracomment>kestrel-cli backup/restore --image</extracomment>
        <translation>%1 --image vyžaduje název souboru</translation>
    </message>
    <message>
        <source>forbidden networks file (EF_FPLMN)</source>
        <comment>10099</comment>
        <extracomment>kestrel-cli networks: %2 of 10101, %1 of 10102</extracomment>
        <translation>soubor zakázaných sítí (EF_FPLMN)</translation>
    </message>
    <message>
        <source>preferred networks file (EF_PLMNsel)</source>
        <comment>10100</comment>
        <extracomment>kestrel-cli networks: %2 of 10101, %1 of 10102</extracomment>
        <translation>soubor preferovaných sítí (EF_PLMNsel)</translation>
    </message>
    <message>
        <source>networks write: %1 networks given, but the %2 has %3 slots; nothing written</source>
        <comment>10101</comment>
        <extracomment>kestrel-cli networks write</extracomment>
        <translation>networks write: zadáno %1 sítí, ale %2 má %3 míst; nic nebylo zapsáno</translation>
    </message>
    <message>
        <source>networks delete: the %1 has entries 1 to %2, not %3; nothing written</source>
        <comment>10102</comment>
        <extracomment>kestrel-cli networks delete</extracomment>
        <translation>networks delete: %1 má položky 1 až %2, ne %3; nic nebylo zapsáno</translation>
    </message>
    <message>
        <source>networks needs read, write or delete</source>
        <comment>10103</comment>
        <extracomment>kestrel-cli networks</extracomment>
        <translation>networks vyžaduje read, write nebo delete</translation>
    </message>
    <message>
        <source>%1: nothing was changed</source>
        <comment>10104</comment>
        <extracomment>kestrel-cli pin/fdn: the question was answered no</extracomment>
        <translation>%1: nic nebylo změněno</translation>
    </message>
    <message>
        <source>pin needs one of verify, verify2, change, change2, enable, disable, unblock</source>
        <comment>10105</comment>
        <extracomment>kestrel-cli pin</extracomment>
        <translation>pin vyžaduje jedno z verify, verify2, change, change2, enable, disable, unblock</translation>
    </message>
    <message>
        <source>fdn needs on or off</source>
        <comment>10106</comment>
        <extracomment>kestrel-cli fdn</extracomment>
        <translation>fdn vyžaduje on nebo off</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not hex bytes</source>
        <comment>10107</comment>
        <extracomment>kestrel-cli apdu</extracomment>
        <translation>&quot;%1&quot; nejsou hexadecimální bajty</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is shorter than a command header (5 bytes)</source>
        <comment>10108</comment>
        <extracomment>kestrel-cli apdu</extracomment>
        <translation>&quot;%1&quot; je kratší než záhlaví příkazu (5 bajtů)</translation>
    </message>
    <message>
        <source>&quot;%1&quot;: P3 says %2 data bytes, %3 given</source>
        <comment>10109</comment>
        <extracomment>kestrel-cli apdu</extracomment>
        <translation>&quot;%1&quot;: P3 udává %2 datových bajtů, zadáno %3</translation>
    </message>
    <message>
        <source>readers takes no arguments but --text</source>
        <comment>10110</comment>
        <extracomment>kestrel-cli readers</extracomment>
        <translation>readers nepřijímá žádné argumenty kromě --text</translation>
    </message>
    <message>
        <source>apdu needs at least one command APDU in hex</source>
        <comment>10111</comment>
        <extracomment>kestrel-cli apdu</extracomment>
        <translation>apdu vyžaduje alespoň jeden příkaz APDU v hexadecimálním tvaru</translation>
    </message>
    <message>
        <source>stk: the card offers no SIM Application menu</source>
        <comment>10112</comment>
        <extracomment>kestrel-cli stk</extracomment>
        <translation>stk: karta nenabízí nabídku aplikace SIM</translation>
    </message>
    <message>
        <source>stk needs menu or select</source>
        <comment>10113</comment>
        <extracomment>kestrel-cli stk</extracomment>
        <translation>stk vyžaduje menu nebo select</translation>
    </message>
    <message>
        <source>stk select: &quot;%1&quot; is not a menu item number (0-255)</source>
        <comment>10114</comment>
        <extracomment>kestrel-cli stk select</extracomment>
        <translation>stk select: &quot;%1&quot; není číslo položky nabídky (0-255)</translation>
    </message>
    <message>
        <source>stk select: --item &quot;%1&quot; is not an item number (0-255)</source>
        <comment>10115</comment>
        <extracomment>kestrel-cli stk select</extracomment>
        <translation>stk select: --item &quot;%1&quot; není číslo položky (0-255)</translation>
    </message>
    <message>
        <source>stk select: the card&apos;s menu has no item %1</source>
        <comment>10116</comment>
        <extracomment>kestrel-cli stk select</extracomment>
        <translation>stk select: nabídka karty nemá položku %1</translation>
    </message>
    <message>
        <source>print needs %1</source>
        <comment>10117</comment>
        <extracomment>kestrel-cli print without its kind; %1 lists the kinds</extracomment>
        <translation>print vyžaduje %1</translation>
    </message>
    <message>
        <source>print %1: give --pdf FILE.pdf</source>
        <comment>10118</comment>
        <extracomment>kestrel-cli print</extracomment>
        <translation>print %1: zadejte --pdf FILE.pdf</translation>
    </message>
    <message>
        <source>print %1: --detailed is for print check only</source>
        <comment>10119</comment>
        <extracomment>kestrel-cli print</extracomment>
        <translation>print %1: --detailed je jen pro print check</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a network (MCC-MNC, e.g. 234-01)</source>
        <comment>10120</comment>
        <extracomment>kestrel-cli encode plmn</extracomment>
        <translation>&quot;%1&quot; není síť (MCC-MNC, např. 234-01)</translation>
    </message>
    <message>
        <source>networks write: &quot;%1&quot; is not a network (MCC-MNC, e.g. 230-03)</source>
        <comment>10121</comment>
        <extracomment>kestrel-cli networks write</extracomment>
        <translation>networks write: &quot;%1&quot; není síť (MCC-MNC, např. 230-03)</translation>
    </message>
    <message>
        <source>networks delete: &quot;%1&quot; is not an entry number (1, 2, ...)</source>
        <comment>10122</comment>
        <extracomment>kestrel-cli networks delete</extracomment>
        <translation>networks delete: &quot;%1&quot; není číslo položky (1, 2, ...)</translation>
    </message>
    <message>
        <source>--when &quot;%1&quot; is neither a date and time (DD.MM.YY HH:MM) nor a validity period (e.g. &quot;7 days&quot;)</source>
        <comment>10123</comment>
        <extracomment>kestrel-cli encode sms; the formats and the example are input and stay as they are</extracomment>
        <translation>--when &quot;%1&quot; není datum a čas (DD.MM.YY HH:MM) ani doba platnosti (např. &quot;7 days&quot;)</translation>
    </message>
    <message>
        <source>print: this kestrel-cli was built without the desktop program&apos;s printers</source>
        <comment>10124</comment>
        <extracomment>kestrel-cli print</extracomment>
        <translation>print: tento kestrel-cli byl sestaven bez tiskáren desktopového programu</translation>
    </message>
    <message>
        <source>usage: kestrel-sim new &lt;card file&gt; [--blank] [--adn N] [--sms N] [--name-length L] [--pin1-disabled]
                       [--modern] [--force]
         --blank          every file the owner fills left empty
         --adn N          EF_ADN with N records (1-%1, default %2)
         --sms N          EF_SMS with N records (1-%1, default %3)
         --name-length L  names of up to L characters: dialling-number records of L + 14 bytes (0-%4, default %5)
         --pin1-disabled  PIN1 not asked for
         --modern         also names in UCS2 (EF_ADN 14-16), a UCS2 message in three parts, an 8-bit
                          message and a status report (EF_SMS 5-9)
       kestrel-sim new &lt;card file&gt; --telephone-card [--force]
       kestrel-sim show &lt;card file&gt;
       kestrel-sim serve --card &lt;card file&gt; --vpcd [[host:]port]   (default localhost:%6)
             [--pull-at N] [--status-at N[:SW]] [--garbage-at N] [--nulls-from N]
</source>
        <comment>10200</comment>
        <extracomment>kestrel-sim: the usage after a usage error; %1 the most records, %2/%3/%5 the defaults, %4 the longest name, %6 the vpcd port</extracomment>
        <translation>použití: kestrel-sim new &lt;card file&gt; [--blank] [--adn N] [--sms N] [--name-length L] [--pin1-disabled]
                         [--modern] [--force]
           --blank          každý soubor, který plní vlastník, zůstane prázdný
           --adn N          EF_ADN s N záznamy (1-%1, výchozí %2)
           --sms N          EF_SMS s N záznamy (1-%1, výchozí %3)
           --name-length L  jména až o L znacích: záznamy volaných čísel o L + 14 bajtech (0-%4, výchozí %5)
           --pin1-disabled  PIN1 se nevyžaduje
           --modern         také jména v UCS2 (EF_ADN 14-16), zpráva UCS2 ve třech částech, 8bitová
                            zpráva a stavový report (EF_SMS 5-9)
         kestrel-sim new &lt;card file&gt; --telephone-card [--force]
         kestrel-sim show &lt;card file&gt;
         kestrel-sim serve --card &lt;card file&gt; --vpcd [[host:]port]   (výchozí localhost:%6)
               [--pull-at N] [--status-at N[:SW]] [--garbage-at N] [--nulls-from N]
</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <comment>10201</comment>
        <extracomment>kestrel-sim new/show</extracomment>
        <translation>neznámá volba %1</translation>
    </message>
    <message>
        <source>%1 needs a number from %2 to %3</source>
        <comment>10202</comment>
        <extracomment>kestrel-sim new</extracomment>
        <translation>%1 vyžaduje číslo od %2 do %3</translation>
    </message>
    <message>
        <source>new needs exactly one card file</source>
        <comment>10203</comment>
        <extracomment>kestrel-sim new</extracomment>
        <translation>new vyžaduje právě jeden soubor karty</translation>
    </message>
    <message>
        <source>--telephone-card takes none of the SIM options</source>
        <comment>10204</comment>
        <extracomment>kestrel-sim new</extracomment>
        <translation>--telephone-card nepřijímá žádnou z voleb SIM</translation>
    </message>
    <message>
        <source>%1 exists; use --force to overwrite it</source>
        <comment>10205</comment>
        <extracomment>kestrel-sim new</extracomment>
        <translation>%1 existuje; pro přepsání použijte --force</translation>
    </message>
    <message>
        <source>Wrote a telephone card to %1</source>
        <comment>10206</comment>
        <extracomment>kestrel-sim new</extracomment>
        <translation>Telefonní karta zapsána do %1</translation>
    </message>
    <message>
        <source>Wrote a SIM card to %1</source>
        <comment>10207</comment>
        <extracomment>kestrel-sim new</extracomment>
        <translation>Karta SIM zapsána do %1</translation>
    </message>
    <message>
        <source>show needs exactly one card file</source>
        <comment>10208</comment>
        <extracomment>kestrel-sim show</extracomment>
        <translation>show vyžaduje právě jeden soubor karty</translation>
    </message>
    <message>
        <source>--card needs a card file</source>
        <comment>10210</comment>
        <extracomment>kestrel-sim serve</extracomment>
        <translation>--card vyžaduje soubor karty</translation>
    </message>
    <message>
        <source>unknown argument %1</source>
        <comment>10211</comment>
        <extracomment>kestrel-sim serve</extracomment>
        <translation>neznámý argument %1</translation>
    </message>
    <message>
        <source>serve needs --card &lt;card file&gt;</source>
        <comment>10212</comment>
        <extracomment>kestrel-sim serve</extracomment>
        <translation>serve vyžaduje --card &lt;card file&gt;</translation>
    </message>
    <message>
        <source>serve needs --vpcd (the face to serve the card on)</source>
        <comment>10213</comment>
        <extracomment>kestrel-sim serve</extracomment>
        <translation>serve vyžaduje --vpcd (rozhraní, na kterém se karta poskytuje)</translation>
    </message>
    <message>
        <source>cannot save the card: %1</source>
        <comment>10214</comment>
        <extracomment>kestrel-sim serve</extracomment>
        <translation>kartu nelze uložit: %1</translation>
    </message>
    <message>
        <source>cannot reach vpcd at %1:%2: %3</source>
        <comment>10215</comment>
        <extracomment>kestrel-sim serve</extracomment>
        <translation>vpcd na %1:%2 není dostupný: %3</translation>
    </message>
    <message>
        <source>Serving %1 to vpcd at %2:%3</source>
        <comment>10216</comment>
        <extracomment>kestrel-sim serve</extracomment>
        <translation>Poskytování %1 pro vpcd na %2:%3</translation>
    </message>
    <message>
        <source>vpcd closed the connection; the card is out of the reader (%1 commands served)</source>
        <comment>10217</comment>
        <extracomment>kestrel-sim serve</extracomment>
        <translation>vpcd ukončil spojení; karta je vyjmuta ze čtečky (obslouženo příkazů: %1)</translation>
    </message>
    <message>
        <source>Stopped; the card is out of the reader (%1 commands served)</source>
        <comment>10218</comment>
        <extracomment>kestrel-sim serve: after SIGTERM or SIGINT</extracomment>
        <translation>Zastaveno; karta je vyjmuta ze čtečky (obslouženo příkazů: %1)</translation>
    </message>
    <message>
        <source>connection to vpcd failed: %1</source>
        <comment>10219</comment>
        <extracomment>kestrel-sim serve</extracomment>
        <translation>spojení s vpcd selhalo: %1</translation>
    </message>
    <message>
        <source>no command given</source>
        <comment>10220</comment>
        <extracomment>kestrel-sim</extracomment>
        <translation>nebyl zadán žádný příkaz</translation>
    </message>
    <message>
        <source>unknown command %1</source>
        <comment>10221</comment>
        <extracomment>kestrel-sim</extracomment>
        <translation>neznámý příkaz %1</translation>
    </message>
    <message>
        <source>&amp;Edit Phone Book</source>
        <comment>40001</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>Up&amp;ravit telefonní seznam</translation>
    </message>
    <message>
        <source>&amp;Open File</source>
        <comment>40002</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>&amp;Otevřít soubor</translation>
    </message>
    <message>
        <source>&amp;Edit Messages</source>
        <comment>40004</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>Up&amp;ravit zprávy</translation>
    </message>
    <message>
        <source>&amp;Save File</source>
        <comment>40005</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>&amp;Uložit soubor</translation>
    </message>
    <message>
        <source>Add &amp;from File</source>
        <comment>40006</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>Přidat &amp;ze souboru</translation>
    </message>
    <message>
        <source>&amp;New Phone Book</source>
        <comment>40007</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>&amp;Nový telefonní seznam</translation>
    </message>
    <message>
        <source>&amp;Open File</source>
        <comment>40008</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>&amp;Otevřít soubor</translation>
    </message>
    <message>
        <source>&amp;Save File</source>
        <comment>40009</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>&amp;Uložit soubor</translation>
    </message>
    <message>
        <source>Add &amp;to File</source>
        <comment>40010</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>&amp;Přidat do souboru</translation>
    </message>
    <message>
        <source>&amp;Enter PIN</source>
        <comment>40018</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>&amp;Zadat PIN</translation>
    </message>
    <message>
        <source>&amp;Setup</source>
        <comment>40021</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>&amp;Nastavení</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <comment>40023</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>&amp;Konec</translation>
    </message>
    <message>
        <source>&amp;Backup Card</source>
        <comment>40024</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>&amp;Zálohovat kartu</translation>
    </message>
    <message>
        <source>&amp;Restore Card</source>
        <comment>40025</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>&amp;Obnovit kartu</translation>
    </message>
    <message>
        <source>&amp;Information about SIM</source>
        <comment>40026</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>&amp;Informace o kartě SIM</translation>
    </message>
    <message>
        <source>&amp;Country Codes</source>
        <comment>40027</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>&amp;Předvolby zemí</translation>
    </message>
    <message>
        <source>S&amp;MS Parameters</source>
        <comment>40053</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>Parametry S&amp;MS</translation>
    </message>
    <message>
        <source>&amp;Insert Item</source>
        <comment>40060</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>Vložit &amp;položku</translation>
    </message>
    <message>
        <source>&amp;Delete Item</source>
        <comment>40061</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>O&amp;dstranit položku</translation>
    </message>
    <message>
        <source>Select &amp;All</source>
        <comment>40063</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>Vybr&amp;at vše</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <comment>40066</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>&amp;Kopírovat</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <comment>40067</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>Vyjmou&amp;t</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <comment>40068</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>&amp;Vložit</translation>
    </message>
    <message>
        <source>&amp;Select</source>
        <comment>40069</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>V&amp;ybrat</translation>
    </message>
    <message>
        <source>&amp;Close All</source>
        <comment>40071</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>Zavřít &amp;vše</translation>
    </message>
    <message>
        <source>Phone Book - &amp;Next</source>
        <comment>40074</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>Telefonní seznam - &amp;další</translation>
    </message>
    <message>
        <source>SMS Messages - N&amp;ext</source>
        <comment>40076</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>Zprávy SMS - &amp;další</translation>
    </message>
    <message>
        <source>&amp;Open Backup File</source>
        <comment>40078</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>Otevřít soubor zá&amp;lohy</translation>
    </message>
    <message>
        <source>&amp;Internationalization</source>
        <comment>40079</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>Převod na &amp;mezinárodní formát</translation>
    </message>
    <message>
        <source>&amp;About Kestrel!</source>
        <comment>40081</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>&amp;O programu Kestrel!</translation>
    </message>
    <message>
        <source>&amp;Telephone Card</source>
        <comment>40086</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>Tele&amp;fonní karta</translation>
    </message>
    <message>
        <source>&amp;Unblock Card</source>
        <comment>40087</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>&amp;Odblokovat kartu</translation>
    </message>
    <message>
        <source>&amp;Fixed Dialing Numbers</source>
        <comment>40089</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>&amp;Pevná volaná čísla</translation>
    </message>
    <message>
        <source>Enter PIN&amp;2</source>
        <comment>40090</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>Zadat PIN&amp;2</translation>
    </message>
    <message>
        <source>&amp;Change PIN</source>
        <comment>40091</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>Z&amp;měnit PIN</translation>
    </message>
    <message>
        <source>Ch&amp;ange PIN2</source>
        <comment>40092</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>Změ&amp;nit PIN2</translation>
    </message>
    <message>
        <source>Activate F&amp;DN</source>
        <comment>40093</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>Aktivovat F&amp;DN</translation>
    </message>
    <message>
        <source>&amp;Preferred Networks</source>
        <comment>40094</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>P&amp;referované sítě</translation>
    </message>
    <message>
        <source>&amp;Forbidden Networks</source>
        <comment>40095</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>Zakázané sí&amp;tě</translation>
    </message>
    <message>
        <source>&amp;Print Phone Book</source>
        <comment>40096</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>&amp;Tisk telefonního seznamu</translation>
    </message>
    <message>
        <source>&amp;Print Messages</source>
        <comment>40097</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>&amp;Tisk zpráv</translation>
    </message>
    <message>
        <source>&amp;Check and Repair SIM</source>
        <comment>40098</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>&amp;Kontrola a oprava karty SIM</translation>
    </message>
    <message>
        <source>Enable/&amp;Disable PIN</source>
        <comment>40099</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>Zapnout/&amp;vypnout PIN</translation>
    </message>
    <message>
        <source>&amp;Report Header</source>
        <comment>40109</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>Zá&amp;hlaví sestavy</translation>
    </message>
    <message>
        <source>Backup Card &amp;Image...</source>
        <comment>40120</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>Zálohovat o&amp;braz karty...</translation>
    </message>
    <message>
        <source>Restore Card I&amp;mage...</source>
        <comment>40121</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>Obnovit obr&amp;az karty...</translation>
    </message>
    <message>
        <source>&amp;User Guide</source>
        <comment>40122</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>&amp;Uživatelská příručka</translation>
    </message>
    <message>
        <source>Window  &amp;1</source>
        <comment>40201</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>Okno &amp;1</translation>
    </message>
    <message>
        <source>Window &amp;2</source>
        <comment>40202</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>Okno &amp;2</translation>
    </message>
    <message>
        <source>Window &amp;3</source>
        <comment>40203</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>Okno &amp;3</translation>
    </message>
    <message>
        <source>Window &amp;1</source>
        <comment>40301</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>Okno &amp;1</translation>
    </message>
    <message>
        <source>Window &amp;2</source>
        <comment>40302</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>Okno &amp;2</translation>
    </message>
    <message>
        <source>Window &amp;3</source>
        <comment>40303</comment>
        <extracomment>command (menu text)</extracomment>
        <translation>Okno &amp;3</translation>
    </message>
    <message>
        <source>No SMS parameters in card</source>
        <comment>57345</comment>
        <translation>Na kartě nejsou parametry SMS</translation>
    </message>
    <message>
        <source>Bad SMS center number entered</source>
        <comment>57347</comment>
        <translation>Bylo zadáno chybné číslo centra SMS</translation>
    </message>
    <message>
        <source>Current entry from phone book window is not available!</source>
        <comment>57348</comment>
        <translation>Aktuální položka z okna telefonního seznamu není k dispozici!</translation>
    </message>
    <message>
        <source>Bad SMS center number entered</source>
        <comment>57349</comment>
        <translation>Bylo zadáno chybné číslo centra SMS</translation>
    </message>
    <message>
        <source>Enter search text </source>
        <comment>57400</comment>
        <translation>Zadejte hledaný text </translation>
    </message>
    <message>
        <source>Item not found</source>
        <comment>57401</comment>
        <translation>Položka nebyla nalezena</translation>
    </message>
    <message>
        <source>Wrong number</source>
        <comment>57402</comment>
        <translation>Chybné číslo</translation>
    </message>
    <message>
        <source>Data not fully read from SIM Card.
Backup not completed!</source>
        <comment>57421</comment>
        <translation>Data nebyla z karty SIM přečtena úplně.
Zálohování nebylo dokončeno!</translation>
    </message>
    <message>
        <source>Cannot open target file.
Backup not completed!</source>
        <comment>57422</comment>
        <translation>Nelze otevřít cílový soubor.
Zálohování nebylo dokončeno!</translation>
    </message>
    <message>
        <source>Error while writing to file.
Backup not completed!</source>
        <comment>57423</comment>
        <translation>Chyba při zápisu do souboru.
Zálohování nebylo dokončeno!</translation>
    </message>
    <message>
        <source>Backup of SIM Card successfully completed</source>
        <comment>57424</comment>
        <translation>Zálohování karty SIM bylo úspěšně dokončeno</translation>
    </message>
    <message>
        <source>Close ALL windows before performing this operation!</source>
        <comment>57425</comment>
        <translation>Před provedením této operace zavřete VŠECHNA okna!</translation>
    </message>
    <message>
        <source>Cannot open backup file.
Restore not completed!</source>
        <comment>57426</comment>
        <translation>Nelze otevřít soubor zálohy.
Obnovení nebylo dokončeno!</translation>
    </message>
    <message>
        <source>Error in backup file structure.
Restore not completed!</source>
        <comment>57427</comment>
        <translation>Chyba ve struktuře souboru zálohy.
Obnovení nebylo dokončeno!</translation>
    </message>
    <message>
        <source>Error while reading file.
Restore not completed!</source>
        <comment>57428</comment>
        <translation>Chyba při čtení souboru.
Obnovení nebylo dokončeno!</translation>
    </message>
    <message>
        <source>Data not fully written to SIM Card.
Restore not completed!</source>
        <comment>57429</comment>
        <translation>Data nebyla na kartu SIM zapsána úplně.
Obnovení nebylo dokončeno!</translation>
    </message>
    <message>
        <source>Restoration of SIM Card successfully completed</source>
        <comment>57430</comment>
        <translation>Obnovení karty SIM bylo úspěšně dokončeno</translation>
    </message>
    <message>
        <source>Error in interval entered</source>
        <comment>57450</comment>
        <translation>Chyba v zadaném rozsahu</translation>
    </message>
    <message>
        <source>Error in dialing code entered</source>
        <comment>57451</comment>
        <translation>Chyba v zadané předvolbě</translation>
    </message>
    <message>
        <source>Some numbers were too long.&#xd;
These entries are unchanged!</source>
        <comment>57452</comment>
        <translation>Některá čísla byla příliš dlouhá.&#xd;
Tyto položky zůstaly beze změny!</translation>
    </message>
    <message>
        <source>Error in start point entered</source>
        <comment>57470</comment>
        <translation>Chyba v zadané počáteční pozici</translation>
    </message>
    <message>
        <source>All entries in the current window will be overwritten.&#xd;Continue?</source>
        <comment>57471</comment>
        <translation>Všechny položky v aktuálním okně budou přepsány.&#xd;Pokračovat?</translation>
    </message>
    <message>
        <source>Cannot open file.</source>
        <comment>57472</comment>
        <translation>Nelze otevřít soubor.</translation>
    </message>
    <message>
        <source>Valid entries in the window will be overwritten.&#xd;Continue?</source>
        <comment>57473</comment>
        <translation>Platné položky v okně budou přepsány.&#xd;Pokračovat?</translation>
    </message>
    <message>
        <source>Valid entries in the window will be deleted between those read.&#xd;Continue?</source>
        <comment>57474</comment>
        <translation>Platné položky v okně mezi načtenými položkami budou odstraněny.&#xd;Pokračovat?</translation>
    </message>
    <message>
        <source>Syntax or data extent error </source>
        <comment>57475</comment>
        <translation>Chyba syntaxe nebo rozsahu dat </translation>
    </message>
    <message>
        <source>Error while reading data from file</source>
        <comment>57476</comment>
        <translation>Chyba při čtení dat ze souboru</translation>
    </message>
    <message>
        <source>Some entries are not updated on the card.&#xd;
Continue?</source>
        <comment>57500</comment>
        <translation>Některé položky nejsou na kartě aktualizovány.&#xd;
Pokračovat?</translation>
    </message>
    <message>
        <source>Error in interval entered!</source>
        <comment>57540</comment>
        <translation>Chyba v zadaném rozsahu!</translation>
    </message>
    <message>
        <source>Error in international dialing code entered!</source>
        <comment>57561</comment>
        <translation>Chyba v zadané mezinárodní předvolbě!</translation>
    </message>
    <message>
        <source>Error in item entered!
Must contain only digits.</source>
        <comment>57562</comment>
        <translation>Chyba v zadané položce!
Smí obsahovat pouze číslice.</translation>
    </message>
    <message>
        <source>Out of range!</source>
        <comment>57580</comment>
        <translation>Mimo rozsah!</translation>
    </message>
    <message>
        <source>Really delete all entries?</source>
        <comment>57581</comment>
        <translation>Opravdu odstranit všechny položky?</translation>
    </message>
    <message>
        <source>No item selected!</source>
        <comment>57582</comment>
        <translation>Není vybrána žádná položka!</translation>
    </message>
    <message>
        <source>Really delete selected items?</source>
        <comment>57583</comment>
        <translation>Opravdu odstranit vybrané položky?</translation>
    </message>
    <message>
        <source>No items selected!</source>
        <comment>57584</comment>
        <translation>Nejsou vybrány žádné položky!</translation>
    </message>
    <message>
        <source>Closing window will lose changes.
Close window?</source>
        <comment>57585</comment>
        <translation>Zavřením okna přijdete o provedené změny.
Zavřít okno?</translation>
    </message>
    <message>
        <source>There are valid entries in target area.
Overwrite?</source>
        <comment>57586</comment>
        <translation>V cílové oblasti jsou platné položky.
Přepsat?</translation>
    </message>
    <message>
        <source>For operation insert empty entry.
An entry must be selected!</source>
        <comment>57587</comment>
        <translation>Pro vložení prázdné položky
musí být vybrána některá položka!</translation>
    </message>
    <message>
        <source>Empty entry cannot be inserted, last position is occupied!</source>
        <comment>57588</comment>
        <translation>Prázdnou položku nelze vložit, poslední pozice je obsazena!</translation>
    </message>
    <message>
        <source>No item selected!</source>
        <comment>57589</comment>
        <translation>Není vybrána žádná položka!</translation>
    </message>
    <message>
        <source>Really delete valid entries also?</source>
        <comment>57590</comment>
        <translation>Opravdu odstranit i platné položky?</translation>
    </message>
    <message>
        <source>Internationalization settings are not set (menu Misc-&gt;Setup)
Continue?</source>
        <comment>57591</comment>
        <translation>Nastavení mezinárodního formátu není zadáno (nabídka Ostatní-&gt;Nastavení)
Pokračovat?</translation>
    </message>
    <message>
        <source>Some numbers would be too long.&#xd;
These entries will remain unchanged!</source>
        <comment>57592</comment>
        <translation>Některá čísla by byla příliš dlouhá.&#xd;
Tyto položky zůstanou beze změny!</translation>
    </message>
    <message>
        <source>Out of range!</source>
        <comment>57593</comment>
        <translation>Mimo rozsah!</translation>
    </message>
    <message>
        <source>Number of inserted items has exceeded list capacity!
All items have not been inserted!</source>
        <comment>57594</comment>
        <translation>Počet vkládaných položek překročil kapacitu seznamu!
Nebyly vloženy všechny položky!</translation>
    </message>
    <message>
        <source>Error in telephone number entered </source>
        <comment>57620</comment>
        <translation>Chyba v zadaném telefonním čísle </translation>
    </message>
    <message>
        <source>Sequence number has exceeded limit</source>
        <comment>57621</comment>
        <translation>Pořadové číslo překročilo limit</translation>
    </message>
    <message>
        <source>Name not allowed</source>
        <comment>57622</comment>
        <translation>Nepovolené jméno</translation>
    </message>
    <message>
        <source>There are valid entries in target area.
Overwrite?</source>
        <comment>57623</comment>
        <translation>V cílové oblasti jsou platné položky.
Přepsat?</translation>
    </message>
    <message>
        <source>For editing, only one list entry must be selected!</source>
        <comment>57624</comment>
        <translation>Pro úpravy musí být vybrána právě jedna položka seznamu!</translation>
    </message>
    <message>
        <source>Error during smartcard reader operation:</source>
        <comment>57642</comment>
        <translation>Chyba při činnosti čtečky čipových karet:</translation>
    </message>
    <message>
        <source>Error in SMS center added</source>
        <comment>57660</comment>
        <translation>Chyba v přidaném čísle centra SMS</translation>
    </message>
    <message>
        <source>Item from the current window not available!</source>
        <comment>57661</comment>
        <translation>Položka z aktuálního okna není k dispozici!</translation>
    </message>
    <message>
        <source>Closing window will lose changes.
Close window?</source>
        <comment>57680</comment>
        <translation>Zavřením okna přijdete o provedené změny.
Zavřít okno?</translation>
    </message>
    <message>
        <source>No item selected!</source>
        <comment>57681</comment>
        <translation>Není vybrána žádná položka!</translation>
    </message>
    <message>
        <source>Do you really want to delete selected entries?</source>
        <comment>57682</comment>
        <translation>Opravdu chcete odstranit vybrané položky?</translation>
    </message>
    <message>
        <source>No valid entries have been selected!</source>
        <comment>57683</comment>
        <translation>Nebyly vybrány žádné platné položky!</translation>
    </message>
    <message>
        <source>Really delete all entries?</source>
        <comment>57684</comment>
        <translation>Opravdu odstranit všechny položky?</translation>
    </message>
    <message>
        <source>Cannot open file for writing</source>
        <comment>57685</comment>
        <translation>Nelze otevřít soubor pro zápis</translation>
    </message>
    <message>
        <source>Error while writing data to file</source>
        <comment>57686</comment>
        <translation>Chyba při zápisu dat do souboru</translation>
    </message>
    <message>
        <source>Cannot open file for reading</source>
        <comment>57687</comment>
        <translation>Nelze otevřít soubor pro čtení</translation>
    </message>
    <message>
        <source>Syntax or data extent error </source>
        <comment>57688</comment>
        <translation>Chyba syntaxe nebo rozsahu dat </translation>
    </message>
    <message>
        <source>Error while reading data from file</source>
        <comment>57689</comment>
        <translation>Chyba při čtení dat ze souboru</translation>
    </message>
    <message>
        <source>Cannot open file for writing</source>
        <comment>57690</comment>
        <translation>Nelze otevřít soubor pro zápis</translation>
    </message>
    <message>
        <source>Error during file operation </source>
        <comment>57691</comment>
        <translation>Chyba při práci se souborem </translation>
    </message>
    <message>
        <source>Error while writing data to file</source>
        <comment>57692</comment>
        <translation>Chyba při zápisu dat do souboru</translation>
    </message>
    <message>
        <source>There are entries in target area.
Overwrite?</source>
        <comment>57693</comment>
        <translation>V cílové oblasti jsou položky.
Přepsat?</translation>
    </message>
    <message>
        <source>For operation insert empty entry.
An entry must be selected!</source>
        <comment>57694</comment>
        <translation>Pro vložení prázdné položky
musí být vybrána některá položka!</translation>
    </message>
    <message>
        <source>Cannot insert, last item is not free</source>
        <comment>57695</comment>
        <translation>Nelze vložit, poslední položka není volná</translation>
    </message>
    <message>
        <source>No item selected!</source>
        <comment>57696</comment>
        <translation>Není vybrána žádná položka!</translation>
    </message>
    <message>
        <source>Do you really want to delete items?</source>
        <comment>57697</comment>
        <translation>Opravdu chcete odstranit položky?</translation>
    </message>
    <message>
        <source>Number of inserted items has exceeded list capacity!
All items have not been inserted!</source>
        <comment>57698</comment>
        <translation>Počet vkládaných položek překročil kapacitu seznamu!
Nebyly vloženy všechny položky!</translation>
    </message>
    <message>
        <source>Only one item must be selected for editing!</source>
        <comment>57720</comment>
        <translation>Pro úpravy musí být vybrána jen jedna položka!</translation>
    </message>
    <message>
        <source>Error in phone number</source>
        <comment>57721</comment>
        <translation>Chyba v telefonním čísle</translation>
    </message>
    <message>
        <source>Message is too long</source>
        <comment>57722</comment>
        <translation>Zpráva je příliš dlouhá</translation>
    </message>
    <message>
        <source>Item from the current phone book window not available!</source>
        <comment>57723</comment>
        <translation>Položka z aktuálního okna telefonního seznamu není k dispozici!</translation>
    </message>
    <message>
        <source>No smartcard reader connected!</source>
        <comment>57740</comment>
        <translation>Není připojena žádná čtečka čipových karet!</translation>
    </message>
    <message>
        <source>Error during card reader operation:</source>
        <comment>57741</comment>
        <translation>Chyba při činnosti čtečky karet:</translation>
    </message>
    <message>
        <source>No smartcard reader connected!</source>
        <comment>57760</comment>
        <translation>Není připojena žádná čtečka čipových karet!</translation>
    </message>
    <message>
        <source>Error during card reader operation:</source>
        <comment>57761</comment>
        <translation>Chyba při činnosti čtečky karet:</translation>
    </message>
    <message>
        <source>Cannot open file for writing</source>
        <comment>57780</comment>
        <translation>Nelze otevřít soubor pro zápis</translation>
    </message>
    <message>
        <source>Error while writing to file</source>
        <comment>57781</comment>
        <translation>Chyba při zápisu do souboru</translation>
    </message>
    <message>
        <source>Data written to file</source>
        <comment>57782</comment>
        <translation>Data byla zapsána do souboru</translation>
    </message>
    <message>
        <source>Wrong interval entered!</source>
        <comment>57783</comment>
        <translation>Byl zadán chybný rozsah!</translation>
    </message>
    <message>
        <source>Current window is empty!</source>
        <comment>57800</comment>
        <translation>Aktuální okno je prázdné!</translation>
    </message>
    <message>
        <source>Current phone book will be written to SIM card.&#xd;
Continue?</source>
        <comment>57801</comment>
        <translation>Aktuální telefonní seznam bude zapsán na kartu SIM.&#xd;
Pokračovat?</translation>
    </message>
    <message>
        <source>Current window is empty!</source>
        <comment>57820</comment>
        <translation>Aktuální okno je prázdné!</translation>
    </message>
    <message>
        <source>Current SMS messages will be written to SIM card.&#xd;
Continue?</source>
        <comment>57821</comment>
        <translation>Aktuální zprávy SMS budou zapsány na kartu SIM.&#xd;
Pokračovat?</translation>
    </message>
    <message>
        <source>By closing these windows you will lose all changes.
Close all windows?</source>
        <comment>57840</comment>
        <translation>Zavřením těchto oken přijdete o všechny změny.
Zavřít všechna okna?</translation>
    </message>
    <message>
        <source>Country</source>
        <comment>57900</comment>
        <translation>Země</translation>
    </message>
    <message>
        <source>Dialing number</source>
        <comment>57901</comment>
        <translation>Předvolba</translation>
    </message>
    <message>
        <source>Phone Book Files (.dia)</source>
        <comment>57902</comment>
        <translation>Soubory telefonního seznamu (.dia)</translation>
    </message>
    <message>
        <source>All files (*.*)</source>
        <comment>57903</comment>
        <translation>Všechny soubory (*.*)</translation>
    </message>
    <message>
        <source>Read Items from File</source>
        <comment>57904</comment>
        <translation>Načíst položky ze souboru</translation>
    </message>
    <message>
        <source>Yes</source>
        <comment>57905</comment>
        <translation>Ano</translation>
    </message>
    <message>
        <source>No</source>
        <comment>57906</comment>
        <translation>Ne</translation>
    </message>
    <message>
        <source>#</source>
        <comment>57907</comment>
        <translation>#</translation>
    </message>
    <message>
        <source>When</source>
        <comment>57908</comment>
        <translation>Kdy</translation>
    </message>
    <message>
        <source>Status</source>
        <comment>57909</comment>
        <translation>Stav</translation>
    </message>
    <message>
        <source>Tel. number</source>
        <comment>57910</comment>
        <translation>Tel. číslo</translation>
    </message>
    <message>
        <source>Text</source>
        <comment>57911</comment>
        <translation>Text</translation>
    </message>
    <message>
        <source>File with Messages (.sms)</source>
        <comment>57912</comment>
        <translation>Soubor se zprávami (.sms)</translation>
    </message>
    <message>
        <source>Write Messages to File</source>
        <comment>57913</comment>
        <translation>Zapsat zprávy do souboru</translation>
    </message>
    <message>
        <source>File with Messages (.sms)</source>
        <comment>57914</comment>
        <translation>Soubor se zprávami (.sms)</translation>
    </message>
    <message>
        <source>Archive File with Messages (.sma)</source>
        <comment>57915</comment>
        <translation>Archivní soubor se zprávami (.sma)</translation>
    </message>
    <message>
        <source>All Message Files (.sms; .sma)</source>
        <comment>57916</comment>
        <translation>Všechny soubory se zprávami (.sms; .sma)</translation>
    </message>
    <message>
        <source>Read Messages from File</source>
        <comment>57917</comment>
        <translation>Načíst zprávy ze souboru</translation>
    </message>
    <message>
        <source>Archive File with Messages (.sma)</source>
        <comment>57918</comment>
        <translation>Archivní soubor se zprávami (.sma)</translation>
    </message>
    <message>
        <source>Write Messages to Archive File</source>
        <comment>57919</comment>
        <translation>Zapsat zprávy do archivního souboru</translation>
    </message>
    <message>
        <source>Item nr</source>
        <comment>57920</comment>
        <translation>Č. položky</translation>
    </message>
    <message>
        <source>Name</source>
        <comment>57921</comment>
        <translation>Jméno</translation>
    </message>
    <message>
        <source>Tel. number</source>
        <comment>57922</comment>
        <translation>Tel. číslo</translation>
    </message>
    <message>
        <source>SIM Card Backup Files (.sim)</source>
        <comment>57923</comment>
        <translation>Soubory zálohy karty SIM (.sim)</translation>
    </message>
    <message>
        <source>Backup SIM card to file</source>
        <comment>57924</comment>
        <translation>Zálohovat kartu SIM do souboru</translation>
    </message>
    <message>
        <source>Open Backup File</source>
        <comment>57925</comment>
        <translation>Otevřít soubor zálohy</translation>
    </message>
    <message>
        <source>Write items to file</source>
        <comment>57926</comment>
        <translation>Zapsat položky do souboru</translation>
    </message>
    <message>
        <source>Read</source>
        <comment>57927</comment>
        <translation>Přečtená</translation>
    </message>
    <message>
        <source>Rcvd.</source>
        <comment>57928</comment>
        <translation>Přij.</translation>
    </message>
    <message>
        <source>Sent</source>
        <comment>57929</comment>
        <translation>Odeslaná</translation>
    </message>
    <message>
        <source>To send</source>
        <comment>57930</comment>
        <translation>K odeslání</translation>
    </message>
    <message>
        <source>Read</source>
        <comment>57931</comment>
        <translation>Přečtená</translation>
    </message>
    <message>
        <source>Received</source>
        <comment>57932</comment>
        <translation>Přijatá</translation>
    </message>
    <message>
        <source>Sent</source>
        <comment>57933</comment>
        <translation>Odeslaná</translation>
    </message>
    <message>
        <source>To be sent</source>
        <comment>57934</comment>
        <translation>K odeslání</translation>
    </message>
    <message>
        <source>Entered PINs do not match. Please enter PIN again</source>
        <comment>59025</comment>
        <translation>Zadané kódy PIN se neshodují. Zadejte PIN znovu</translation>
    </message>
</context>
</TS>
