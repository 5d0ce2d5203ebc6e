package visualizador.dados;

import java.io.BufferedReader;
import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;

/** The password file libpq reads ($PGPASSFILE, else ~/.pgpass): host:port:database:user:password. */
public final class ArquivoSenhas {
    private ArquivoSenhas() {}

    public static String senha(Ambiente amb, String host, String porta, String banco, String usuario) {
        final String arquivo = amb.variavel("PGPASSFILE");
        final Path p = arquivo != null ? Path.of(arquivo) : amb.home().resolve(".pgpass");
        try (BufferedReader r = Files.newBufferedReader(p, StandardCharsets.UTF_8)) {
            String linha;
            while ((linha = r.readLine()) != null) {
                if (linha.isBlank() || linha.startsWith("#")) continue;
                final List<String> c = campos(linha);
                if (c.size() == 5 && bate(c.get(0), host) && bate(c.get(1), porta) && bate(c.get(2), banco)
                        && bate(c.get(3), usuario))
                    return c.get(4);
            }
        } catch (IOException e) {
            // No readable password file: the server may not need a password.
        }
        return null;
    }

    private static boolean bate(String padrao, String valor) {
        return padrao.equals("*") || padrao.equals(valor);
    }

    /** Fields split at ":", with "\:" and "\\" as escapes. */
    static List<String> campos(String linha) {
        final List<String> l = new ArrayList<>();
        final StringBuilder atual = new StringBuilder();
        for (int i = 0; i < linha.length(); i++) {
            final char c = linha.charAt(i);
            if (c == '\\' && i + 1 < linha.length()) atual.append(linha.charAt(++i));
            else if (c == ':' && l.size() < 4) {
                l.add(atual.toString());
                atual.setLength(0);
            } else atual.append(c);
        }
        l.add(atual.toString());
        return l;
    }
}
