package visualizador.conexao;

import java.io.BufferedReader;
import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.NoSuchFileException;
import java.nio.file.Path;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;
import java.util.Optional;
import visualizador.ErroRelatorio;
import visualizador.dados.Ambiente;

/**
 * Connection services as libpq reads them: the user's file, then the system's (see Locais).
 * The first file holding the service wins, whole: nothing is merged from the next one.
 */
public final class ArquivoServico {

    private ArquivoServico() {}

    /** The service's settings (host, port, dbname, user, password, ...). */
    public static Map<String, String> ler(String servico, Ambiente amb) throws ErroRelatorio {
        final List<Path> locais = Locais.de(amb).servicos();
        for (Path p : locais) {
            final Optional<Map<String, String>> s = secao(p, servico);
            if (s.isPresent()) return s.get();
        }
        throw new ErroRelatorio("Serviço de conexão \"" + servico + "\" não encontrado. Procurado em: "
                + String.join(", ", locais.stream().map(Path::toString).toList())
                + ". Crie uma seção [" + servico + "] com host, port, dbname e user (veja o README).");
    }

    /**
     * The first section of that name, up to the next section header. A key given twice keeps
     * its first value, as in libpq.
     */
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
                    if (atual != null) break;
                    if (!t.endsWith("]")) throw invalido(arquivo, numero);
                    if (t.substring(1, t.length() - 1).equals(servico)) atual = new LinkedHashMap<>();
                    continue;
                }
                final int igual = t.indexOf('=');
                if (igual <= 0) throw invalido(arquivo, numero);
                if (atual != null) atual.putIfAbsent(t.substring(0, igual).strip(), t.substring(igual + 1).strip());
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
