namespace cli {}
