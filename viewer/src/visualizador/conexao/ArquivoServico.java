package visualizador.conexao;

import java.io.BufferedReader;
import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.NoSuchFileException;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;
import java.util.Optional;
import visualizador.ErroRelatorio;
import visualizador.dados.Ambiente;

/**
 * Connection services as libpq reads them: the user's file ($PGSERVICEFILE, else
 * ~/.pg_service.conf), then the system file ($PGSYSCONFDIR/pg_service.conf, else Debian's
 * /etc/postgresql-common/pg_service.conf). The first file holding the service wins.
 */
public final class ArquivoServico {
    static final Path SISTEMA_PADRAO = Path.of("/etc/postgresql-common");

    private ArquivoServico() {}

    public static List<Path> locais(Ambiente amb) {
        final List<Path> l = new ArrayList<>();
        final String arquivo = amb.variavel("PGSERVICEFILE");
        l.add(arquivo != null ? Path.of(arquivo) : amb.home().resolve(".pg_service.conf"));
        final String sistema = amb.variavel("PGSYSCONFDIR");
        l.add((sistema != null ? Path.of(sistema) : SISTEMA_PADRAO).resolve("pg_service.conf"));
        return l;
    }

    /** The service's settings (host, port, dbname, user, password, ...). */
    public static Map<String, String> ler(String servico, Ambiente amb) throws ErroRelatorio {
        final List<Path> locais = locais(amb);
        for (Path p : locais) {
            final Optional<Map<String, String>> s = secao(p, servico);
            if (s.isPresent()) return s.get();
        }
        throw new ErroRelatorio("Serviço de conexão \"" + servico + "\" não encontrado. Procurado em: "
                + String.join(", ", locais.stream().map(Path::toString).toList())
                + ". Crie uma seção [" + servico + "] com host, port, dbname e user (veja o README).");
    }

    static Optional<Map<String, String>> secao(Path arquivo, String servico) throws ErroRelatorio {
        try (BufferedReader r = Files.newBufferedReader(arquivo, StandardCharsets.UTF_8)) {
            Map<String, String> atual = null;
            String linha;
            int numero = 0;
            while ((linha = r.readLine()) != null) {
                numero++;
                final String t = linha.strip();
                if (t.isEmpty() || t.startsWith("#")) continue;
                if (t.startsWith("[")) {
                    if (atual != null) return Optional.of(atual);
                    if (!t.endsWith("]")) throw invalido(arquivo, numero);
                    if (t.substring(1, t.length() - 1).equals(servico)) atual = new LinkedHashMap<>();
                    continue;
                }
                final int igual = t.indexOf('=');
                if (igual <= 0) throw invalido(arquivo, numero);
                if (atual != null) atual.put(t.substring(0, igual).strip(), t.substring(igual + 1).strip());
            }
            return Optional.ofNullable(atual);
        } catch (NoSuchFileException e) {
            return Optional.empty();
        } catch (IOException e) {
            throw new ErroRelatorio("Não foi possível ler o arquivo de serviços " + arquivo + ": " + e.getMessage());
        }
    }

    private static ErroRelatorio invalido(Path arquivo, int linha) {
        return new ErroRelatorio("Arquivo de serviços " + arquivo + " inválido na linha " + linha + ".");
    }
}
