user_pref("k", "cut);
user_pref("b", true);
user_pref("n", -2147483648);