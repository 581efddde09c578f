user_pref("mail.identity.useremail",
