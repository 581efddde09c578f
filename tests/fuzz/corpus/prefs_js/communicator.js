user_pref("mail.identity.useremail", "ann@example.com");
user_pref("mail.identity.username", "Ann Lee");
user_pref("network.hosts.smtp_server", "smtp.example.com");
user_pref("mail.identity.reply_to", "r@example.com");